// SPDX-License-Identifier: GPL-3.0-or-later
// What each RunMode does inside the driver's guarded block.

#include "operations/run_modes.h"

#include "link/negotiation.h"
#include "link/text_format.h"
#include "operations/backup.h"
#include "operations/dump_file_transfer.h"
#include "operations/handheld_side.h"
#include "operations/restore.h"
#include "operations/send_one_appli.h"
#include "transfer/appli_code.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

namespace {

StepResult NotAvailable(LinkEngine& engine, settings::RunMode runMode) {
  engine.Log().Format("!!!RunMode %d Not Available\n\n", ToInt(runMode));
  engine.SetStatus(link::LinkIoError, -1);
  return {link::LinkIoError,
          link::Cause::WrongData("RunMode", -1, ToInt(runMode),
                                 link::Format("RunMode %d is not available", ToInt(runMode)))};
}

StepResult SendThenWait(LinkEngine& engine, int code, int p1, int expected) {
  const StepResult sent = engine.SendCommand(code, p1, 0);
  return sent == link::LinkOk ? engine.WaitCommand(expected) : sent;
}

}  // namespace

StepResult RunModeSteps(RunContext& run, link::FrontEnd front, settings::RunMode runMode) {
  LinkEngine& engine = run.engine;
  StepResult result = link::LinkIoError;
  const char* successText = nullptr;
  switch (runMode) {
    case settings::RunMode::Negotiate:
      result = link::Negotiation(engine, front.progress, 30000, -1);
      successText = "SUCCESS Negotiation";
      break;
    case settings::RunMode::Backup:
    case settings::RunMode::Backup3:
    case settings::RunMode::Backup5:
      result = RunBackup(run, front, transfer::PcFull);
      break;
    case settings::RunMode::BackupStep:
      result = RunBackup(run, front, transfer::PcStep);
      break;
    case settings::RunMode::Restore:
    case settings::RunMode::Restore4:
    case settings::RunMode::Restore6:
      result = RunRestore(run, front, transfer::PcFull);
      break;
    case settings::RunMode::RestoreStep:
      result = RunRestore(run, front, transfer::PcStep);
      break;
    case settings::RunMode::SendOneAppli:
      result = SendOneAppli(run, front.progress);
      // Quiet unless a log is kept, like the operations' own success boxes.
      if (!engine.Log().FileName().empty()) successText = "SUCCESS Send 1 Record";
      break;
    case settings::RunMode::SendAck:
      result = SendThenWait(engine, link::ACK, 0, link::AnyCommand);
      successText = "SUCCESS send ACK";
      break;
    case settings::RunMode::SendNack:
      result = engine.SendCommand(link::NACK);
      successText = "SUCCESS send NACK";
      break;
    case settings::RunMode::SendEndCommunication:
      result = engine.SendCommand(link::END_COMMUNICATION);
      successText = "SUCCESS send END_COMMUNICATION";
      break;
    case settings::RunMode::SendDumpFile:
      result = SendDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS SEND_1_RECORD";
      break;
    case settings::RunMode::DeleteAllRecords:
      result = SendThenWait(engine, link::DELETE_ALL_RECORDS, transfer::AppliCode(run.appliKind),
                            link::ACK);
      successText = "SUCCESS DELETE_ALL_RECORDS";
      break;
    case settings::RunMode::ReceiveDumpFile:
      result = ReceiveDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS GET_ALL_RECORDS";
      break;
    case settings::RunMode::ReceiveExpenseCategory:
      result = ReceiveDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS GET_EXPENSE_CATEGORY";
      break;
    case settings::RunMode::SendExpenseCategory:
      result = SendDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS SEND_EXPENSE_CATEGORY";
      break;
    case settings::RunMode::HandheldSide:
      result = RunHandheldSide(run, front);
      break;
    default:
      return NotAvailable(engine, runMode);
  }
  if (result == link::LinkOk && successText != nullptr && front.prompter != nullptr) {
    front.prompter->Inform(successText, "");
  }
  return result;
}

}  // namespace orgalink::operations
