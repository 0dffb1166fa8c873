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
                          const std::uint8_t* stream, std::size_t length) {
  std::vector<std::uint8_t> record;
  record.reserve(store::MaxRecordLength + 1);
  const std::uint8_t* const end = stream + length;
  int index = 0;
  for (const std::uint8_t* next = stream; next < end; ++index) {
    const std::uint8_t* stop = std::find(next, end, store::RecordTerminator);
    record.assign(next, stop);
    store.FromDeviceCodes(kind, record.data(), record.size());
    if (HoldsTerminator(record)) return index;
    store.ToDeviceCodes(kind, record.data(), record.size());
    if (HoldsTerminator(record)) return index;
    next = stop == end ? end : stop + 1;
  }
  return -1;
}

}  // namespace orgalink::operations
