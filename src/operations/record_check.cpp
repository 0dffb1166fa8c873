// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/record_check.h"

#include <algorithm>
#include <vector>

#include "store/record.h"

namespace orgalink::operations {

namespace {

bool HoldsTerminator(const std::vector<std::uint8_t>& record) {
  return std::find(record.begin(), record.end(), store::RecordTerminator) != record.end();
}

}  // namespace

int FirstUnstorableRecord(const store::AppliStore& store, std::uint8_t kind,
                          std::span<const std::uint8_t> stream) {
  std::vector<std::uint8_t> record;
  record.reserve(store::MaxRecordLength + 1);
  const auto end = stream.end();
  int index = 0;
  for (auto next = stream.begin(); next < end; ++index) {
    const auto stop = std::find(next, end, store::RecordTerminator);
    record.assign(next, stop);
    store.FromDeviceCodes(kind, record);
    if (HoldsTerminator(record)) return index;
    store.ToDeviceCodes(kind, record);
    if (HoldsTerminator(record)) return index;
    next = stop == end ? end : stop + 1;
  }
  return -1;
}

}  // namespace orgalink::operations
