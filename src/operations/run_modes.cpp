// What each RunMode does inside the driver's guarded block.

#include "operations/run_modes.h"

#include "link/negotiation.h"
#include "link/text_format.h"
#include "operations/backup.h"
#include "operations/dump_file_transfer.h"
#include "operations/handheld_side.h"
#include "operations/restore.h"
#include "transfer/appli_code.h"

namespace orgalink::operations {

using link::LinkEngine;
using link::StepResult;

namespace {

StepResult NotAvailable(LinkEngine& engine, RunMode runMode) {
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

StepResult RunModeSteps(RunContext& run, link::FrontEnd front, RunMode runMode) {
  LinkEngine& engine = run.engine;
  StepResult result = link::LinkIoError;
  const char* successText = nullptr;
  switch (runMode) {
    case RunMode::Negotiate:
      result = link::Negotiation(engine, front.progress, 30000, -1);
      successText = "SUCCESS Negotiation";
      break;
    case RunMode::Backup:
    case RunMode::Backup3:
    case RunMode::Backup5:
      result = RunBackup(run, front, transfer::PcFull);
      break;
    case RunMode::BackupStep:
      result = RunBackup(run, front, transfer::PcStep);
      break;
    case RunMode::Restore:
    case RunMode::Restore4:
    case RunMode::Restore6:
      result = RunRestore(run, front, transfer::PcFull);
      break;
    case RunMode::RestoreStep:
      result = RunRestore(run, front, transfer::PcStep);
      break;
    case RunMode::SendOneAppli:
      result = SendOneAppli(run, front.progress);
      // Quiet unless a log is kept, like the operations' own success boxes.
      if (!engine.Log().FileName().empty()) successText = "SUCCESS Send 1 Record";
      break;
    case RunMode::SendAck:
      result = SendThenWait(engine, link::ACK, 0, link::AnyCommand);
      successText = "SUCCESS send ACK";
      break;
    case RunMode::SendNack:
      result = engine.SendCommand(link::NACK);
      successText = "SUCCESS send NACK";
      break;
    case RunMode::SendEndCommunication:
      result = engine.SendCommand(link::END_COMMUNICATION);
      successText = "SUCCESS send END_COMMUNICATION";
      break;
    case RunMode::SendDumpFile:
      result = SendDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS SEND_1_RECORD";
      break;
    case RunMode::DeleteAllRecords:
      result = SendThenWait(engine, link::DELETE_ALL_RECORDS, transfer::AppliCode(run.appliKind),
                            link::ACK);
      successText = "SUCCESS DELETE_ALL_RECORDS";
      break;
    case RunMode::ReceiveDumpFile:
      result = ReceiveDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS GET_ALL_RECORDS";
      break;
    case RunMode::ReceiveExpenseCategory:
      result = ReceiveDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS GET_EXPENSE_CATEGORY";
      break;
    case RunMode::SendExpenseCategory:
      result = SendDumpFile(run, front.progress, transfer::PcStep);
      successText = "SUCCESS SEND_EXPENSE_CATEGORY";
      break;
    case RunMode::HandheldSide:
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
