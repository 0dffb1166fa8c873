// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/telephone_sort.h"

namespace orgalink::sim {

using Record = std::vector<std::uint8_t>;

// Number of applications, the expense category table (6) included.
inline constexpr std::size_t kApplications = 7;

// What the organizer holds: the records of each application in its own
// character codes, in the order it serves them. Telephone records are kept in
// the organizer's sort order; the expense category table is application 6,
// one record or none.
class OrganizerContents {
 public:
  // The records of `appli` (0..6); an empty list for any other number.
  const std::vector<Record>& Records(std::uint8_t appli) const;

  // Stores a record the way the organizer files it: Telephone records at
  // their place in the sort order, a category table in place of the old one,
  // all others at the end.
  void Add(std::uint8_t appli, Record record, const TelephoneSort& sort);
  void Clear(std::uint8_t appli);

  // Bytes of the application as a record stream: every record plus its
  // terminator.
  std::size_t StreamSize(std::uint8_t appli) const;

  bool operator==(const OrganizerContents&) const = default;

 private:
  std::array<std::vector<Record>, kApplications> applis_;
};

}  // namespace orgalink::sim
