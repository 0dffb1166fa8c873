// SPDX-License-Identifier: GPL-3.0-or-later
// Receiving all records of one application as a record stream.

#include "transfer/get_all_records.h"

#include <algorithm>

#include "link/command_name.h"
#include "link/text_format.h"
#include "transfer/appli_code.h"
#include "transfer/get_expense_category.h"
#include "transfer/receive_progress.h"
#include "transfer/receive_record.h"
#include "transfer/telephone_order.h"

namespace orgalink::transfer {

using link::Cause;
using link::LinkEngine;
using link::StepResult;

namespace {

constexpr std::uint8_t kTerminator = 0xFF;

// What a finished record leads to on the organizer's side.
enum class Next { AnotherRecord, End, Failed };

struct Stream {
  std::span<std::uint8_t> buffer;
  int offset = 0;
  int count = 0;
};

StepResult Fail(LinkEngine& engine, const char* line, link::LinkStatus status, Cause cause) {
  engine.SetStatus(status, -1);
  engine.Log().Line(line);
  return {status, std::move(cause)};
}

StepResult AskForRecords(LinkEngine& engine, std::uint8_t appliCode) {
  engine.Log().Line("\n========== Start Get All Record ==========\n\n");
  const StepResult sent = engine.SendCommand(link::GET_ALL_RECORDS, appliCode, 0);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line("---PC sends GET_ALL_RECORDS\n\n");
  return link::LinkOk;
}

// The organizer's side, between records: the PC announces the next record or
// ends the communication.
Next AwaitNextRecord(LinkEngine& engine, StepResult& status) {
  std::uint8_t code = 0;
  status = engine.WaitCommand(link::AnyCommand, nullptr, &code);
  if (status != link::LinkOk) return Next::Failed;
  if (code == link::SEND_1_RECORD) {
    engine.Log().Line("---HDD receives CMD_SEND_1_RECORD\n\n");
    return Next::AnotherRecord;
  }
  if (code == link::END_COMMUNICATION) {
    engine.Log().Line("---HDD receives END_COMMUNICATION\n\n");
    return Next::End;
  }
  status = Fail(engine, "---!!!Receive Another Command\n\n", link::LinkIoError,
                Cause::WrongData("command", -1, code,
                                 "the PC sent " + link::CommandName(code) +
                                     " where SEND_1_RECORD or END_COMMUNICATION was expected"));
  return Next::Failed;
}

// The base model may stop early without saying so; a Telephone transfer that
// ends with a handful of records is taken as such a stop.
bool TooFewTelephoneRecords(const LinkEngine& engine, const TelephoneCheck& check,
                            std::uint8_t appliCode, int count) {
  return engine.ModelVariant() == 0 && appliCode == TelephoneCode && count >= 1 &&
         count <= check.minRecords;
}

// With the usual minimum of one, a lone record is the sign of a stop; a
// minimum raised above that refuses transfers that may well be whole, and
// the user must hear that the threshold, not the organizer, ended the run.
Cause TooFewTelephoneRecordsCause(const TelephoneCheck& check, int count) {
  if (check.minRecords <= 1) {
    return Cause::WrongData(
        "count of Telephone records", check.minRecords, count,
        link::Format("only %d Telephone records arrived: the organizer stopped early", count));
  }
  return Cause::WrongData(
      "count of Telephone records against BKTelRecordsMin", check.minRecords, count,
      link::Format("%d Telephone records arrived, and the Telephone minimum BKTelRecordsMin "
                   "(--tel-min) is %d: a transfer counts as complete only with more than %d",
                   count, check.minRecords, check.minRecords));
}

// Receives records until FINISH_ALL_RECORDS (PC side) or END_COMMUNICATION
// (organizer's side). `finished` tells which of the two ended it.
StepResult ReceiveAll(LinkEngine& engine, link::ProgressSink* progress, Stream& stream,
                      std::uint8_t appliCode, TransferRole role, const TelephoneCheck& check,
                      bool& finished) {
  const bool checkOrder = engine.ModelVariant() == 0 && appliCode == TelephoneCode;
  const auto scope = appliCode == TelephoneCode ? link::ProgressScope::Telephone
                                                : link::ProgressScope::Application;
  for (;;) {
    StepResult status = link::LinkOk;
    if (!IsPcRole(role)) {
      if ((status = engine.SendCommand(link::ACK)) != link::LinkOk) return status;
      engine.Log().Line("---HDD sends ACK\n\n");
    }
    // One byte stays free for the record's terminator.
    const std::span<std::uint8_t> free = stream.buffer.subspan(stream.offset);
    const std::span<std::uint8_t> record = free.first(free.empty() ? 0 : free.size() - 1);
    int length = 0;
    std::uint8_t kind = 0xFF;
    status = ReceiveRecord(engine, record, length, kind, role);
    if (status != link::LinkOk) {
      engine.Log().Format("!!!Abort (Now RecordIdx=%d)\n\n", stream.count);
      return status;
    }
    if (kind == link::FINISH_ALL_RECORDS) {
      finished = true;
      return link::LinkOk;
    }
    if (checkOrder && !TelephoneKeyInOrder(record.first(length), stream.count > 0, check.weights,
                                           check.incoming)) {
      return Fail(engine, "!!!Receive Not Perfect1\n\n", link::LinkReceiveIncomplete,
                  Cause::WrongData("order of the Telephone records", -1, -1,
                                   link::Format("Telephone record %d arrived out of order: the "
                                                "organizer sent only part of its records",
                                                stream.count + 1)));
    }
    stream.offset += length;
    stream.buffer[stream.offset++] = kTerminator;
    ++stream.count;
    link::Report(progress, {link::ProgressKind::Records, stream.count, scope});
    link::Report(progress,
                 {link::ProgressKind::Progress, ReceiveProgressPosition(stream.count), scope});
    if (IsPcRole(role)) continue;
    const Next next = AwaitNextRecord(engine, status);
    if (next == Next::Failed) return status;
    if (next == Next::End) return link::LinkOk;
  }
}

}  // namespace

StepResult GetAllRecords(LinkEngine& engine, link::ProgressSink* progress,
                         std::span<std::uint8_t> buffer, int& totalOut, std::uint8_t appliCode,
                         TransferRole role, const TelephoneCheck& check, int* recordsOut) {
  if (appliCode == ExpenseCategoryCode) {
    const StepResult status = GetExpenseCategory(engine, progress, buffer, totalOut, role);
    if (status == link::LinkOk && recordsOut != nullptr) *recordsOut = totalOut > 0 ? 1 : 0;
    return status;
  }
  if (IsPcRole(role)) {
    const StepResult asked = AskForRecords(engine, appliCode);
    if (asked != link::LinkOk) return asked;
  }
  link::Report(progress, {link::ProgressKind::Status, 100, link::ProgressScope::Application});
  std::fill(buffer.begin(), buffer.end(), 0);
  Stream stream{buffer};
  bool finished = false;
  const StepResult status = ReceiveAll(engine, progress, stream, appliCode, role, check, finished);
  if (status != link::LinkOk) return status;
  if (finished) {
    if (TooFewTelephoneRecords(engine, check, appliCode, stream.count)) {
      return Fail(engine, "!!!Receive Not Perfect2\n\n", link::LinkReceiveIncomplete,
                  TooFewTelephoneRecordsCause(check, stream.count));
    }
    engine.Log().Line("---PC receive FINISH_ALL_RECORDS\n\n");
  }
  link::Report(progress, {link::ProgressKind::Progress, 100, link::ProgressScope::Application});
  if (IsPcRole(role)) {
    engine.Log().Format("========== End Get All Record (%d)==========\n\n", stream.count);
  }
  totalOut = stream.offset;
  if (recordsOut != nullptr) *recordsOut = stream.count;
  return link::LinkOk;
}

}  // namespace orgalink::transfer
