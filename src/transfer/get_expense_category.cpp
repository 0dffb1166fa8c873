// SPDX-License-Identifier: GPL-3.0-or-later
// Receiving the expense category table: one packet of application code 6.

#include "transfer/get_expense_category.h"

#include <algorithm>

#include "link/text_format.h"
#include "transfer/appli_code.h"
#include "transfer/data_packet.h"

namespace orgalink::transfer {

using link::Cause;
using link::LinkEngine;
using link::StepResult;

namespace {

constexpr std::uint8_t kTerminator = 0xFF;

// The PC asks for the table; the organizer's side acknowledges the PC's
// SEND_EXPENSE_CATEGORY that the command loop has just taken.
StepResult OpenExchange(LinkEngine& engine, TransferRole role) {
  if (IsPcRole(role)) {
    engine.Log().Line("\n========== Start Get Expense Category ==========\n\n");
    const StepResult sent = engine.SendCommand(link::GET_EXPENSE_CATEGORY);
    if (sent != link::LinkOk) return sent;
    engine.Log().Line("---PC sends GET_EXPENSE_CATEGORY\n\n");
    return link::LinkOk;
  }
  const StepResult sent = engine.SendCommand(link::ACK);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line("---HDD sends ACK\n\n");
  return link::LinkOk;
}

// The PC does not acknowledge the table; the organizer's side does.
StepResult CloseExchange(LinkEngine& engine, TransferRole role) {
  if (IsPcRole(role)) {
    engine.Log().Line("========== End Get Expense Category==========\n\n");
    return link::LinkOk;
  }
  const StepResult sent = engine.SendCommand(link::ACK);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line("---HDD sends ACK\n\n");
  return link::LinkOk;
}

// FINISH_ALL_RECORDS in place of the table: an organizer without expense
// categories. Only the organizer sends it, so playing the organizer it is no
// table at all.
StepResult NoTable(LinkEngine& engine, int& totalOut, TransferRole role) {
  if (!IsPcRole(role)) {
    engine.Log().Line("!!!NOT Packet Data\n\n");
    engine.SetStatus(link::LinkIoError, -1);
    return {link::LinkIoError,
            Cause::WrongData("command", -1, link::FINISH_ALL_RECORDS,
                             "the PC sent FINISH_ALL_RECORDS where the table was expected")};
  }
  engine.Log().Line("---PC receive FINISH_ALL_RECORDS\n\n");
  engine.Log().Line("========== End Get Expense Category==========\n\n");
  totalOut = 0;
  return link::LinkOk;
}

}  // namespace

StepResult GetExpenseCategory(LinkEngine& engine, link::ProgressSink* /*progress*/,
                              std::span<std::uint8_t> buffer, int& totalOut, TransferRole role) {
  StepResult status = OpenExchange(engine, role);
  if (status != link::LinkOk) return status;
  const int capacity = static_cast<int>(buffer.size());
  std::fill(buffer.begin(), buffer.end(), 0);
  // The packet lands in a frame of its own: asking for the kind keeps a NACK
  // or FINISH_ALL_RECORDS from passing for the table, and their five bytes
  // must not reach the caller's buffer either.
  PacketFrame frame{};
  int length = 0;
  std::uint8_t kind = 0xFF;
  status = WaitDataPacket(engine, ExpenseCategoryCode,
                          PacketOut{frame.data(), PacketFrameSize, &length, &kind, nullptr});
  if (status != link::LinkOk) return status;
  if (kind == link::FINISH_ALL_RECORDS) return NoTable(engine, totalOut, role);
  // One byte stays free for the terminator.
  if (length >= capacity) {
    engine.SetStatus(link::LinkIoError, -1);
    return {link::LinkIoError, Cause::WrongData("size of the expense category table", -1, length,
                                                link::Format("a table of %d bytes does not fit the "
                                                             "%d bytes of room",
                                                             length, capacity))};
  }
  std::copy_n(frame.data(), length, buffer.begin());
  engine.Log().Line("---PC receives DATA\n\n");
  buffer[length++] = kTerminator;
  status = CloseExchange(engine, role);
  if (status != link::LinkOk) return status;
  totalOut = length;
  return link::LinkOk;
}

}  // namespace orgalink::transfer
