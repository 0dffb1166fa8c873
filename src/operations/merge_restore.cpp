// SPDX-License-Identifier: GPL-3.0-or-later
// The merging restore and the dry run: the organizer is read first, and
// only what changes is emptied and sent.

#include "operations/merge_restore.h"

#include "operations/backup.h"
#include "operations/merge_report.h"
#include "operations/operation_steps.h"
#include "operations/restore.h"
#include "operations/safety_copy.h"
#include "store/appli_kind.h"
#include "store/record.h"
#include "transfer/appli_code.h"
#include "transfer/send_all_records.h"

namespace orgalink::operations {

using link::StepResult;

namespace {

// Receives application `kind` (or every one) into `streams` through a store
// of the run's own kind, which is thrown away: only the bytes as they came
// over the line count here.
StepResult ReceiveInto(RunContext& run, int kind, ReceivedStreams& streams,
                       link::ProgressSink* progress, transfer::TransferRole role) {
  store::AppliStore scratch = *run.store;
  if (scratch.GetAppliBuf(store::ArchiveSlots) != store::StoreOk) {
    run.engine.Log().Line("!!! GetAppliBuf Err");
    return FailStep(run.engine, link::LinkIoError, StoreRefused("make room for the organizer's"));
  }
  RunContext receiving = run;
  receiving.store = &scratch;
  receiving.received = &streams;
  receiving.appliKind = kind;
  // Nothing has been sent yet: a short Telephone answer may be asked again.
  receiving.confirmShortTelephone = true;
  return ReceiveApplications(receiving, progress, role, link::ProgressScope::Safety);
}

// What the organizer holds, read once: into the safety archive when there is
// one, so that it holds exactly the state the plan starts from.
StepResult ReadOrganizer(RunContext& run, ReceivedStreams& before, link::ProgressSink* progress,
                         transfer::TransferRole role) {
  StepResult status = link::LinkOk;
  if (!run.planned->dryRun && role == transfer::PcFull && !run.safety.archive.empty()) {
    auto* const kept = run.received;
    run.received = &before;
    status = TakeSafetyCopy(run, progress);
    run.received = kept;
  } else {
    status = ReceiveInto(run, run.appliKind, before, progress, role);
  }
  // Expense merged alone: its categories decide how the added entries read.
  if (status == link::LinkOk && run.planned->merge && run.appliKind == store::Expense &&
      run.planned->records.Find(store::ExpenseCategory) != nullptr) {
    status = ReceiveInto(run, store::ExpenseCategory, before, progress, role);
  }
  return status;
}

StepResult SendRecords(RunContext& run, const ApplicationPlan& plan, link::ProgressSink* progress,
                       transfer::TransferRole role) {
  std::vector<std::uint8_t> stream;
  for (const std::vector<std::uint8_t>& record : plan.result) {
    stream.insert(stream.end(), record.begin(), record.end());
    stream.push_back(store::RecordTerminator);
  }
  if (plan.result.empty()) {
    run.engine.Log().Line("---Pass (This appli is NO data)\n\n");
    return link::LinkOk;
  }
  return transfer::SendAllRecords(run.engine, progress, stream,
                                  transfer::AppliCode(plan.application),
                                  static_cast<int>(plan.result.size()), role);
}

// Every application that changes is emptied before the first record goes:
// once records arrive the organizer takes nothing else.
StepResult EmptyChanged(RunContext& run, const RestorePlan& plan, transfer::TransferRole role) {
  if (role != transfer::PcFull) return link::LinkOk;
  for (const ApplicationPlan& one : plan.applications) {
    if (!one.rewritten || one.application == store::ExpenseCategory) continue;
    run.safety.deletionsBegun = true;
    const StepResult status = DeleteAllRecords(run.engine, one.application);
    if (status != link::LinkOk) return status;
  }
  return link::LinkOk;
}

StepResult Apply(RunContext& run, const RestorePlan& plan, link::ProgressSink* progress,
                 transfer::TransferRole role) {
  ReportMilestone(progress, link::ProgressKind::Status, 100);
  ReportMilestone(progress, link::ProgressKind::Progress, 4);
  StepResult status = EmptyChanged(run, plan, role);
  if (status != link::LinkOk) return status;
  ReportMilestone(progress, link::ProgressKind::Progress, 10);
  for (const ApplicationPlan& one : plan.applications) {
    if (!one.rewritten) continue;
    // The table has no deletion: sending it is what replaces the old one.
    if (role == transfer::PcFull) run.safety.deletionsBegun = true;
    run.engine.Log().Line("********** Restore 1 Appli **********\n\n");
    status = WithTableMilestones(one.application == store::ExpenseCategory, progress,
                                 [&] { return SendRecords(run, one, progress, role); });
    if (status != link::LinkOk) return status;
    run.engine.Log().Line("********** End Restore 1 Appli **********\n\n");
  }
  ReportMilestone(progress, link::ProgressKind::Progress, 100);
  return link::LinkOk;
}

void LogPlan(link::LinkEngine& engine, const RestorePlan& plan, bool done) {
  for (const std::string& line : RestorePlanLines(plan, done)) {
    engine.Log().Format("---%s\n", line.c_str());
  }
  engine.Log().Line("\n");
}

StepResult Refuse(link::LinkEngine& engine, const std::string& refusal) {
  engine.Log().Format("!!!Merge Too Large (Nothing Deleted): %s\n\n", refusal.c_str());
  return FailStep(
      engine, link::LinkFileIncompatible,
      link::Cause::WrongData("merged records", -1, -1,
                             "the merge would leave " + refusal + "; nothing was deleted"));
}

}  // namespace

StepResult RunPlannedRestore(RunContext& run, link::FrontEnd front, transfer::TransferRole role) {
  link::LinkEngine& engine = run.engine;
  PlannedRestore& planned = *run.planned;
  const platform::Tick start = engine.Link().Clock().Now();
  StepResult status = NegotiateIfFull(engine, front.progress, role);
  if (status != link::LinkOk) return status;
  ReceivedStreams before;
  status = ReadOrganizer(run, before, front.progress, role);
  if (status != link::LinkOk) return status;
  planned.plan = planned.merge ? PlanMerge(planned.records, before, run.appliKind)
                               : PlanReplace(planned.records, before, run.appliKind);
  LogPlan(engine, *planned.plan, false);
  if (!planned.dryRun) {
    if (const std::string refusal = planned.plan->Refusal(); !refusal.empty()) {
      return Refuse(engine, refusal);
    }
    status = Apply(run, *planned.plan, front.progress, role);
    if (status != link::LinkOk) return status;
    engine.Log().Line("********** End Restore **********\n\n");
  }
  status = EndIfFull(engine, role);
  if (status != link::LinkOk) return status;
  if (!planned.dryRun) ReportSuccess(engine, front.prompter, "Restore", start);
  return link::LinkOk;
}

}  // namespace orgalink::operations
