// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "operations/read_back_check.h"
#include "store/record_comparison.h"

namespace orgalink::operations {

// What a restore does to one application, worked out against what the
// organizer holds before anything is sent. Records are compared byte for
// byte in the organizer's codes.
struct ApplicationPlan {
  std::uint8_t application = 0;
  // What the organizer holds now, in the order it gives them.
  store::RecordList held;
  // What it will hold afterwards, in the order they are sent: for a merge,
  // `held` followed by the records it lacked.
  store::RecordList result;
  // The application is emptied and `result` sent (for the expense category
  // table, which has no deletion, the table is replaced).
  bool rewritten = false;
  // Records of `result` the organizer did not hold, and records it held that
  // are not in `result`, counted as multisets.
  std::size_t added = 0;
  std::size_t lost = 0;
  // Of the added records, those that look like an edited version of one the
  // organizer holds (the same first text field, other bytes): both are kept.
  std::size_t edited = 0;
  // Why `result` cannot be sent, in words for after the application's name
  // ("300000 bytes, more than the 256000 an application may hold"); empty
  // when it fits.
  std::string tooLarge;

  // Whether the organizer would hold anything else afterwards.
  bool Changes() const;
};

struct RestorePlan {
  bool merge = false;
  // FullOrder, narrowed to the application the restore addresses.
  std::vector<ApplicationPlan> applications;
  // A merge adds expense entries while the archive's category table differs
  // from the organizer's, which it keeps: the entries then show the
  // organizer's categories.
  bool categoriesDiffer = false;

  bool Changes() const;
  // "Memo: 300000 bytes, more than ..." for the first application whose
  // result the organizer could not take; empty when every one fits.
  std::string Refusal() const;
  // Each application's result, as a verification compares with what the
  // organizer holds afterwards; the tables left alone are left out.
  store::ArchiveRecords Expected() const;
};

// A merge of `archive` into the organizer (`organizer`, as received), for
// every application or the one `appliKind` names: each application keeps
// what it holds and gains the archive's records it lacks, so that every
// distinct record appears as often as it does on the side that has more of
// it. The expense category table is one table, not a set of records: only a
// merge that addresses it alone replaces it with the archive's.
RestorePlan PlanMerge(const store::ArchiveRecords& archive, const ReceivedStreams& organizer,
                      int appliKind);

// What the plain restore of `archive` would do: every application but the
// expense category emptied and given the archive's records (none when the
// archive lacks it), the category table replaced only when the archive
// holds one.
RestorePlan PlanReplace(const store::ArchiveRecords& archive, const ReceivedStreams& organizer,
                        int appliKind);

}  // namespace orgalink::operations
