// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer's side of the protocol, for exercising a PC program.

#include "operations/handheld_side.h"

#include <cstdint>

#include "link/command_name.h"
#include "link/negotiation.h"
#include "operations/dump_file_transfer.h"
#include "operations/operation_steps.h"
#include "store/appli_kind.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

namespace {

// What the command loop does after a command.
enum class After { NextCommand, Bye, Stop };

struct Served {
  After after;
  StepResult status;
};

Served Continue(StepResult status) {
  return {status == link::LinkOk ? After::NextCommand : After::Stop, status};
}

StepResult Acknowledge(LinkEngine& engine) {
  const StepResult sent = engine.SendCommand(link::ACK);
  if (sent == link::LinkOk) engine.Log().Line("---HDD sends ACK\n\n");
  return sent;
}

// GET_ALL_RECORDS (p1, p2) names Telephone..Expense by p1 with p2 0;
// anything else gets Schedule. The expense category has its own command.
int ApplicationAskedFor(const std::uint8_t (&parameters)[2]) {
  const int p1 = parameters[0];
  const bool named = p1 >= store::Anniversary && p1 <= store::Telephone && parameters[1] == 0;
  return named ? p1 : store::Schedule;
}

Served Serve(RunContext& run, link::ProgressSink* progress, std::uint8_t code,
             const std::uint8_t (&parameters)[2]) {
  LinkEngine& engine = run.engine;
  switch (code) {
    case link::ACK:
      engine.Log().Line("---HDD receives ACK\n\n");
      return Continue(Acknowledge(engine));
    case link::END_COMMUNICATION:
      engine.Log().Line("---HDD receives END_COMMUNICATION\n\n");
      return {After::Bye, link::LinkOk};
    case link::NACK:
      engine.Log().Line("---HDD receives NACK\n\n");
      return {After::Bye, link::LinkOk};
    case link::SEND_1_RECORD: {
      engine.Log().Line("---HDD receives SEND_1_RECORD\n\n");
      const StepResult status = ReceiveDumpFile(run, progress, transfer::HandheldSide);
      if (status != link::LinkOk) return {After::Stop, status};
      // Records are taken until the PC's END_COMMUNICATION, so nothing can
      // follow; the expense category table (a current application left at 6)
      // is one packet, after which the PC goes on.
      return {run.appliKind == store::ExpenseCategory ? After::NextCommand : After::Bye, status};
    }
    case link::DELETE_ALL_RECORDS:
      engine.Log().Line("---HDD receives DELETE_ALL_RECORDS\n\n");
      return Continue(Acknowledge(engine));
    case link::GET_ALL_RECORDS:
      engine.Log().Line("---HDD receives GET_ALL_RECORDS\n\n");
      run.appliKind = ApplicationAskedFor(parameters);
      return Continue(SendDumpFile(run, progress, transfer::HandheldSide));
    case link::GET_EXPENSE_CATEGORY:
      engine.Log().Line("---HDD receives GET_EXPENSE_CATEGORY\n\n");
      run.appliKind = store::ExpenseCategory;
      return Continue(SendDumpFile(run, progress, transfer::HandheldSide));
    case link::SEND_EXPENSE_CATEGORY:
      engine.Log().Line("---HDD receives SEND_EXPENSE_CATEGORY\n\n");
      run.appliKind = store::ExpenseCategory;
      return Continue(ReceiveDumpFile(run, progress, transfer::HandheldSide));
    case link::GET_DEVICE_INFORMATION:
      // The PC's variant probe: a base model stays silent, and so do we.
      engine.Log().Line("---HDD receives GET_DEVICE_INFORMATION\n\n");
      return {After::NextCommand, link::LinkOk};
    default:  // LINK_REQUEST, DEVICE_INFORMATION, FINISH_ALL_RECORDS
      engine.Log().Line("---!!!Receive Unknown Command\n\n");
      return {After::Stop,
              FailStep(engine, link::LinkIoError,
                       link::Cause::WrongData("command", -1, code,
                                              "the PC sent " + link::CommandName(code) +
                                                  ", which the organizer does not take here"))};
  }
}

}  // namespace

StepResult RunHandheldSide(RunContext& run, link::FrontEnd front) {
  LinkEngine& engine = run.engine;
  StepResult status = link::NegotiationForDevice(engine, front.progress);
  if (status != link::LinkOk) return status;
  for (;;) {
    std::uint8_t code = 0;
    std::uint8_t parameters[2] = {0, 0};
    status = engine.WaitCommand(link::AnyHandheldCommand, parameters, &code);
    if (status != link::LinkOk) return status;
    const Served served = Serve(run, front.progress, code, parameters);
    if (served.after == After::Stop) return served.status;
    if (served.after == After::Bye) {
      if (front.prompter != nullptr) front.prompter->Inform("BYE!!", "");
      return link::LinkOk;
    }
  }
}

}  // namespace orgalink::operations
