// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "store/record_comparison.h"

namespace orgalink::operations {

// Every application's record stream as a backup received it, by number.
using ReceivedStreams = std::array<std::vector<std::uint8_t>, 7>;

// What the organizer holds (`organizer`, read back) against what a restore
// of `archive` puts there, in the organizer's codes: every application in
// FullOrder, or only `appliKind` when it names one. Telephone is compared
// in any order, since the organizer files it in its own; the others record
// by record. An application the archive lacks is expected empty, except the
// expense category table, which a restore leaves as it was.
std::vector<store::RecordDifference> CompareWithOrganizer(const store::ArchiveRecords& archive,
                                                          const ReceivedStreams& organizer,
                                                          int appliKind);

}  // namespace orgalink::operations
