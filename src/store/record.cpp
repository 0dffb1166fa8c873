#include "store/record.h"

#include <algorithm>
#include <cstring>

#include "store/store_result.h"

namespace orgalink::store {

int RecordLength(const std::uint8_t* data, std::size_t available) {
  const std::size_t window = std::min<std::size_t>(available, MaxRecordLength + 1);
  if (window == 0) return ToInt(StoreInvalid);
  const void* terminator = std::memchr(data, RecordTerminator, window);
  if (terminator == nullptr) return ToInt(StoreInvalid);
  return static_cast<int>(static_cast<const std::uint8_t*>(terminator) - data);
}

int CopyRecord(const std::uint8_t* data, std::size_t available, std::uint8_t* out) {
  const int length = RecordLength(data, available);
  if (length >= 0) std::copy_n(data, length + 1, out);
  return length;
}

std::size_t CountTerminators(const std::uint8_t* data, std::size_t length) {
  return static_cast<std::size_t>(std::count(data, data + length, RecordTerminator));
}

}  // namespace orgalink::store
