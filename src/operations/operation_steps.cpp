// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation_steps.h"

#include "link/negotiation.h"
#include "link/text_format.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

namespace {

// How long the organizer may take to ask for the link once the user has
// started the operation.
constexpr long kLinkRequestWaitMs = 30000;

int SecondsSince(LinkEngine& engine, platform::Tick start) {
  return static_cast<int>((engine.Link().Clock().Now() - start) / 1000);
}

}  // namespace

link::StepResult WithTableMilestones(bool table, link::ProgressSink* progress,
                                     const std::function<link::StepResult()>& step) {
  if (table) {
    ReportMilestone(progress, link::ProgressKind::Status, 100, link::ProgressScope::Application);
  }
  link::StepResult status = step();
  if (status == link::LinkOk && table) {
    ReportMilestone(progress, link::ProgressKind::Progress, 100, link::ProgressScope::Application);
  }
  return status;
}

void ReportMilestone(link::ProgressSink* progress, link::ProgressKind kind, int position,
                     link::ProgressScope scope) {
  link::Report(progress, {kind, position, scope});
}

StepResult FailStep(LinkEngine& engine, link::LinkStatus status, link::Cause cause) {
  engine.SetStatus(status, -1);
  return {status, std::move(cause)};
}

link::Cause StoreRefused(const std::string& what) {
  return link::Cause::File("the record store could not " + what);
}

StepResult NegotiateIfFull(LinkEngine& engine, link::ProgressSink* progress,
                           transfer::TransferRole role) {
  if (role != transfer::PcFull) return link::LinkOk;
  return link::Negotiation(engine, progress, kLinkRequestWaitMs, -1);
}

StepResult EndIfFull(LinkEngine& engine, transfer::TransferRole role) {
  if (role != transfer::PcFull) return link::LinkOk;
  const StepResult sent = engine.SendCommand(link::END_COMMUNICATION);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line("---PC sends END_COMMUNICATION\n\n");
  return link::LinkOk;
}

bool AskRetry(link::Prompter* prompter, const std::string& text, const link::Cause& cause) {
  return prompter != nullptr && prompter->RetryOrCancel(text, cause, "Error");
}

void ReportSuccess(LinkEngine& engine, link::Prompter* prompter, const char* name,
                   platform::Tick start) {
  engine.Log().Format("%sTime=%dsec\n\n", name, SecondsSince(engine, start));
  if (prompter == nullptr || engine.Log().FileName().empty()) return;
  // The box tells the time as it stands when it is shown.
  prompter->Inform(link::Format("SUCCESS %s\nTime:%dsec", name, SecondsSince(engine, start)), name);
}

}  // namespace orgalink::operations
