// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// Puts the run's archive (when it names one) back into the organizer. The
// archive is read and checked before the link is touched, so an unreadable
// or incompatible file leaves the organizer as it was. With PcFull it
// negotiates, empties the applications (Telephone, Schedule, Anniversary, To
// Do, Memo, Expense; the expense category has no deletion and is only sent)
// before any record goes out, sends every application held in FullOrder, and
// sends END_COMMUNICATION. Without an archive it only empties the organizer.
// A single current application is emptied and sent alone. Progress
// milestones go to the front end as Operation scope reports; its prompter
// asks Retry or Cancel after a failed read and shows the success box (only
// with a log). 16; 11 when the store
// cannot be had; 13 when the archive or an application's records are not
// compatible; 17 when the user cancels a failed read; otherwise the failing
// link step's status.
// When run.safety names an archive, the organizer's contents are first
// received and written there (TakeSafetyCopy), after the negotiation; a copy
// that fails stops the restore before anything is deleted.
// When run.planned is set, the restore is that merge or dry run instead
// (RunPlannedRestore).
link::StepResult RunRestore(RunContext& run, link::FrontEnd front, transfer::TransferRole role);

// DELETE_ALL_RECORDS for application `kind`, and the organizer's ACK.
link::StepResult DeleteAllRecords(link::LinkEngine& engine, int kind);

}  // namespace orgalink::operations
