// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/merge_plan.h"
#include "operations/run_context.h"
#include "store/record_comparison.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// A restore worked out against what the organizer holds: a merge, or the
// dry run of a merge or of the plain restore.
struct PlannedRestore {
  // The records to restore or add, in the organizer's codes: an archive's,
  // or a selection of them.
  store::ArchiveRecords records;
  bool merge = true;
  // Only read the organizer and tell what would be done: nothing is deleted
  // or sent.
  bool dryRun = false;
  // What the run found to do, once the organizer has been read.
  std::optional<RestorePlan> plan;
};

// The restore of run.planned, inside a communication: with PcFull it
// negotiates, receives what the organizer holds (into the safety archive
// when run.safety names one, so that the archive is exactly the state the
// merge starts from), and plans. A dry run then ends the communication. A
// merge refuses an application the organizer could not take (13, nothing
// deleted); otherwise it empties every application whose contents change
// before it sends the first record, sends their new contents, and ends.
// 16, or the failing step's status.
link::StepResult RunPlannedRestore(RunContext& run, link::FrontEnd front,
                                   transfer::TransferRole role);

}  // namespace orgalink::operations
