// SPDX-License-Identifier: GPL-3.0-or-later
// The backup: every application's records from the organizer into an archive.

#include "operations/backup.h"

#include "operations/archive_write.h"
#include "operations/operation_steps.h"
#include "operations/receive_appli.h"
#include "store/appli_kind.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

namespace {

// Without an archive the records can only be kept in a table the store
// already holds; with one, the store gets a fresh table for the whole
// archive.
bool PrepareStore(RunContext& run) {
  if (!run.fileName.empty()) return run.store->GetAppliBuf(store::ArchiveSlots) == store::StoreOk;
  if (run.appliKind == store::AllApplis) {
    run.store->ClearSlots();
  } else {
    run.store->PrepareSlot(static_cast<std::uint8_t>(run.appliKind));
  }
  return true;
}

StepResult ReceiveOne(RunContext& run, link::ProgressSink* progress, transfer::TransferRole role) {
  run.engine.Log().Line("********** Backup 1 Appli **********\n");
  const StepResult status = ReceiveAppli(run, progress, role);
  if (status == link::LinkOk) run.engine.Log().Line("********** End Backup 1 Appli **********\n\n");
  return status;
}

// The overall bar: 10 once the link stands, 50 after the first application
// and 10 more after each of the next four, 100 after the last.
StepResult ReceiveEveryApplication(RunContext& run, link::ProgressSink* progress,
                                   transfer::TransferRole role, link::ProgressScope milestones) {
  ReportMilestone(progress, link::ProgressKind::Status, 100, milestones);
  ReportMilestone(progress, link::ProgressKind::Progress, 10, milestones);
  for (std::size_t i = 0; i < store::FullOrder.size(); ++i) {
    run.appliKind = store::FullOrder[i];
    const StepResult status = ReceiveOne(run, progress, role);
    if (status != link::LinkOk) return status;
    if (i < 5) {
      ReportMilestone(progress, link::ProgressKind::Progress, 50 + 10 * static_cast<int>(i),
                      milestones);
    }
  }
  ReportMilestone(progress, link::ProgressKind::Progress, 100, milestones);
  return link::LinkOk;
}

// Everything that involves the organizer, which is released before the
// archive is written.
StepResult ReceiveFromOrganizer(RunContext& run, link::ProgressSink* progress,
                                transfer::TransferRole role) {
  LinkEngine& engine = run.engine;
  StepResult status = NegotiateIfFull(engine, progress, role);
  if (status != link::LinkOk) return status;
  status = ReceiveApplications(run, progress, role, link::ProgressScope::Operation);
  if (status != link::LinkOk) return status;
  return EndIfFull(engine, role);
}

}  // namespace

StepResult ReceiveApplications(RunContext& run, link::ProgressSink* progress,
                               transfer::TransferRole role, link::ProgressScope milestones) {
  if (run.appliKind == store::AllApplis) {
    return ReceiveEveryApplication(run, progress, role, milestones);
  }
  // A restore's safety copy of one application still opens and closes with
  // its milestones, so that the progress can tell its receive from the
  // restore's sending that follows.
  const bool safety = milestones == link::ProgressScope::Safety;
  if (safety) ReportMilestone(progress, link::ProgressKind::Status, 100, milestones);
  const StepResult status = WithTableMilestones(run.appliKind == store::ExpenseCategory, progress,
                                                [&] { return ReceiveOne(run, progress, role); });
  if (status != link::LinkOk) return status;
  if (safety) ReportMilestone(progress, link::ProgressKind::Progress, 100, milestones);
  return status;
}

StepResult RunBackup(RunContext& run, link::FrontEnd front, transfer::TransferRole role) {
  LinkEngine& engine = run.engine;
  if (run.store == nullptr) return FailStep(engine, link::LinkIoError, StoreRefused("be found"));
  const platform::Tick start = engine.Link().Clock().Now();
  const bool toFile = !run.fileName.empty();
  if (!PrepareStore(run)) {
    engine.Log().Line("!!! GetAppliBuf Err");
    return FailStep(engine, link::LinkIoError, StoreRefused("make room for an archive"));
  }
  StepResult status = ReceiveFromOrganizer(run, front.progress, role);
  if (status == link::LinkOk && toFile) status = WriteArchiveAsked(run, front.prompter);
  if (status != link::LinkOk) {
    if (toFile) run.store->FreeAppliBuf();
    return status;
  }
  ReportSuccess(engine, front.prompter, "Backup", start);
  return link::LinkOk;
}

}  // namespace orgalink::operations
