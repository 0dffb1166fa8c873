// SPDX-License-Identifier: GPL-3.0-or-later
// The restore: an archive's records back into the organizer.

#include "operations/restore.h"

#include "operations/archive_read.h"
#include "operations/merge_restore.h"
#include "operations/operation_steps.h"
#include "operations/safety_copy.h"
#include "operations/send_appli.h"
#include "store/appli_kind.h"
#include "transfer/appli_code.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

StepResult DeleteAllRecords(LinkEngine& engine, int kind) {
  StepResult status = engine.SendCommand(link::DELETE_ALL_RECORDS, transfer::AppliCode(kind), 0);
  if (status != link::LinkOk) return status;
  engine.Log().Line("---PC sends DELETE_ALL_RECORDS\n\n");
  status = engine.WaitCommand(link::ACK);
  if (status != link::LinkOk) return status;
  engine.Log().Line("---PC receives ACK\n\n");
  return link::LinkOk;
}

namespace {

// Every application but the expense category, which has no deletion of its
// own, is emptied before the first record is sent.
StepResult EmptyOrganizer(LinkEngine& engine) {
  for (std::uint8_t kind : store::FullOrder) {
    if (kind == store::ExpenseCategory) continue;
    const StepResult status = DeleteAllRecords(engine, kind);
    if (status != link::LinkOk) return status;
  }
  return link::LinkOk;
}

// The overall bar: 4 once the link stands, 10 once the organizer is empty,
// 50 after the first application and 10 more after each of the next four,
// 100 after the last.
StepResult RestoreEveryApplication(RunContext& run, link::ProgressSink* progress,
                                   transfer::TransferRole role) {
  ReportMilestone(progress, link::ProgressKind::Status, 100);
  ReportMilestone(progress, link::ProgressKind::Progress, 4);
  if (role == transfer::PcFull) {
    run.safety.deletionsBegun = true;
    const StepResult status = EmptyOrganizer(run.engine);
    if (status != link::LinkOk) return status;
  }
  ReportMilestone(progress, link::ProgressKind::Progress, 10);
  for (std::size_t i = 0; i < store::FullOrder.size(); ++i) {
    run.engine.Log().Line("********** Restore 1 Appli **********\n\n");
    run.appliKind = store::FullOrder[i];
    const StepResult status = SendAppli(run, progress, role);
    if (status != link::LinkOk) return status;
    if (i < 5) {
      ReportMilestone(progress, link::ProgressKind::Progress, 50 + 10 * static_cast<int>(i));
    }
    run.engine.Log().Line("********** End Restore 1 Appli **********\n\n");
  }
  ReportMilestone(progress, link::ProgressKind::Progress, 100);
  return link::LinkOk;
}

StepResult RestoreOne(RunContext& run, link::ProgressSink* progress, transfer::TransferRole role) {
  LinkEngine& engine = run.engine;
  // The expense category table has no deletion: sending it replaces the
  // organizer's, so from there on too the safety copy is what holds the old.
  if (role == transfer::PcFull) run.safety.deletionsBegun = true;
  if (role == transfer::PcFull && run.appliKind != store::ExpenseCategory) {
    const StepResult status = DeleteAllRecords(engine, run.appliKind);
    if (status != link::LinkOk) return status;
  }
  engine.Log().Line("********** Restore 1 Appli **********\n");
  const StepResult status = WithTableMilestones(run.appliKind == store::ExpenseCategory, progress,
                                                [&] { return SendAppli(run, progress, role); });
  if (status != link::LinkOk) return status;
  engine.Log().Line("********** End Restore 1 Appli **********\n\n");
  return link::LinkOk;
}

// Everything that involves the organizer, once the archive is in the store.
StepResult SendToOrganizer(RunContext& run, link::ProgressSink* progress,
                           transfer::TransferRole role) {
  LinkEngine& engine = run.engine;
  StepResult status = NegotiateIfFull(engine, progress, role);
  if (status != link::LinkOk) return status;
  if (role == transfer::PcFull && !run.safety.archive.empty()) {
    status = TakeSafetyCopy(run, progress);
    if (status != link::LinkOk) return status;
  }
  status = run.appliKind == store::AllApplis ? RestoreEveryApplication(run, progress, role)
                                             : RestoreOne(run, progress, role);
  if (status != link::LinkOk) return status;
  engine.Log().Line("********** End Restore **********\n\n");
  return EndIfFull(engine, role);
}

StepResult LoadArchive(RunContext& run, link::Prompter* prompter) {
  if (run.store->GetAppliBuf(store::ArchiveSlots) != store::StoreOk) {
    run.engine.Log().Line("!!! GetAppliBuf Err");
    return FailStep(run.engine, link::LinkIoError, StoreRefused("make room for an archive"));
  }
  return ReadArchiveAsked(run, prompter);
}

}  // namespace

StepResult RunRestore(RunContext& run, link::FrontEnd front, transfer::TransferRole role) {
  LinkEngine& engine = run.engine;
  if (run.store == nullptr) return FailStep(engine, link::LinkIoError, StoreRefused("be found"));
  if (run.planned != nullptr) return RunPlannedRestore(run, front, role);
  const platform::Tick start = engine.Link().Clock().Now();
  const bool fromFile = !run.fileName.empty();
  StepResult status = fromFile ? LoadArchive(run, front.prompter) : link::LinkOk;
  if (status == link::LinkOk) status = SendToOrganizer(run, front.progress, role);
  if (status == link::LinkOk) ReportSuccess(engine, front.prompter, "Restore", start);
  if (fromFile) run.store->FreeAppliBuf();
  return status;
}

}  // namespace orgalink::operations
