// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/organizer_contents.h"

#include "store/appli_kind.h"

namespace orgalink::sim {

const std::vector<Record>& OrganizerContents::Records(std::uint8_t appli) const {
  static const std::vector<Record> kNone;
  return appli < kApplications ? applis_[appli] : kNone;
}

void OrganizerContents::Add(std::uint8_t appli, Record record, const TelephoneSort& sort) {
  if (appli >= kApplications) return;
  std::vector<Record>& records = applis_[appli];
  if (appli == store::ExpenseCategory) {
    records.assign(1, std::move(record));
  } else if (appli == store::Telephone) {
    const std::size_t at = sort.InsertionPoint(records, record);
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
  } else {
    records.push_back(std::move(record));
  }
}

void OrganizerContents::Clear(std::uint8_t appli) {
  if (appli < kApplications) applis_[appli].clear();
}

std::size_t OrganizerContents::StreamSize(std::uint8_t appli) const {
  std::size_t size = 0;
  for (const Record& record : Records(appli)) size += record.size() + 1;
  return size;
}

}  // namespace orgalink::sim
