#include "operations/operation_steps.h"

#include "link/messages.h"
#include "link/negotiation.h"
#include "link/text_format.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::LinkStatus;

namespace {

// How long the organizer may take to ask for the link once the user has
// started the operation.
constexpr long kLinkRequestWaitMs = 30000;

int SecondsSince(LinkEngine& engine, platform::Tick start) {
  return static_cast<int>((engine.Clock().Now() - start) / 1000);
}

}  // namespace

void PostOperationProgress(link::LinkOwner* owner, std::uint32_t message, std::uint32_t position) {
  if (owner != nullptr) owner->Post(message, position, link::OperationScope);
}

LinkStatus FailStep(LinkEngine& engine, LinkStatus status) {
  engine.SetStatus(status, -1);
  return status;
}

LinkStatus NegotiateIfFull(LinkEngine& engine, link::LinkOwner* owner,
                           transfer::TransferRole role) {
  if (role != transfer::PcFull) return link::LinkOk;
  return link::Negotiation(engine, owner, kLinkRequestWaitMs, -1);
}

LinkStatus EndIfFull(LinkEngine& engine, transfer::TransferRole role) {
  if (role != transfer::PcFull) return link::LinkOk;
  const LinkStatus sent = engine.SendCommand(link::END_COMMUNICATION);
  if (sent != link::LinkOk) return sent;
  engine.Log("---PC sends END_COMMUNICATION\n\n");
  return link::LinkOk;
}

bool AskRetry(link::LinkOwner* owner, const std::string& text) {
  return owner != nullptr &&
         owner->ShowMessage(text, "Error", link::MessageBoxKind::RetryCancelQuestion) ==
             link::IDRETRY;
}

void ReportSuccess(LinkEngine& engine, link::LinkOwner* owner, const char* name,
                   platform::Tick start) {
  engine.LogFormat("%sTime=%dsec\n\n", name, SecondsSince(engine, start));
  if (owner == nullptr || engine.LogFileName().empty()) return;
  // The box tells the time as it stands when it is shown.
  owner->ShowMessage(link::Format("SUCCESS %s\nTime:%dsec", name, SecondsSince(engine, start)),
                     name, link::MessageBoxKind::Ok);
}

}  // namespace orgalink::operations
