// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/record.h"

#include <algorithm>
#include <cstring>

#include "store/store_result.h"

namespace orgalink::store {

int RecordLength(std::span<const std::uint8_t> data) {
  const std::size_t window = std::min<std::size_t>(data.size(), MaxRecordLength + 1);
  if (window == 0) return ToInt(StoreInvalid);
  const void* terminator = std::memchr(data.data(), RecordTerminator, window);
  if (terminator == nullptr) return ToInt(StoreInvalid);
  return static_cast<int>(static_cast<const std::uint8_t*>(terminator) - data.data());
}

int CopyRecord(std::span<const std::uint8_t> data,
               std::span<std::uint8_t, MaxRecordLength + 1> out) {
  const int length = RecordLength(data);
  if (length >= 0) std::copy_n(data.begin(), length + 1, out.begin());
  return length;
}

std::size_t CountTerminators(std::span<const std::uint8_t> data) {
  return static_cast<std::size_t>(std::count(data.begin(), data.end(), RecordTerminator));
}

}  // namespace orgalink::store
