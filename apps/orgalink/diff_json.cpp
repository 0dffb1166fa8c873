// SPDX-License-Identifier: GPL-3.0-or-later
#include "diff_json.h"

#include "store/archive.h"

namespace orgalink::cli {

namespace {

OrderedJson Records(const std::vector<store::DiffRecord>& records) {
  OrderedJson list = OrderedJson::array();
  for (const store::DiffRecord& record : records) {
    list.push_back({{"place", record.place + 1}, {"text", record.fields}});
  }
  return list;
}

OrderedJson Device(const std::array<std::uint8_t, 2>& device) {
  return {device[0], device[1]};
}

}  // namespace

OrderedJson DiffJson(const std::string& a, const std::string& b, const store::ArchiveDiff& diff) {
  OrderedJson applications = OrderedJson::array();
  for (const store::ApplicationDiff& entry : diff.applications) {
    const store::RecordDifference& d = entry.difference;
    applications.push_back({{"application", store::ApplicationName(d.application)},
                            {"code", d.application},
                            {"differs", d.Differs()},
                            {"recordsA", d.countA},
                            {"recordsB", d.countB},
                            {"added", Records(entry.added)},
                            {"removed", Records(entry.removed)},
                            {"orderChanged", d.orderOnly}});
  }
  return {{"command", "diff"},
          {"a", a},
          {"b", b},
          {"differs", diff.Differs()},
          {"deviceCodeA", Device(diff.deviceA)},
          {"deviceCodeB", Device(diff.deviceB)},
          {"applications", applications}};
}

}  // namespace orgalink::cli
