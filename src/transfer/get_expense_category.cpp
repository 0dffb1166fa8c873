// Receiving the expense category table: one packet of application code 6.

#include <algorithm>

#include "transfer/appli_code.h"
#include "transfer/data_packet.h"
#include "transfer/receive_records.h"

namespace orgalink::transfer {

using link::LinkEngine;
using link::LinkStatus;

namespace {

constexpr std::uint8_t kTerminator = 0xFF;

// The PC asks for the table; the organizer's side acknowledges the PC's
// SEND_EXPENSE_CATEGORY that the command loop has just taken.
LinkStatus OpenExchange(LinkEngine& engine, TransferRole role) {
  if (IsPcRole(role)) {
    engine.Log("\n========== Start Get Expense Category ==========\n\n");
    const LinkStatus sent = engine.SendCommand(link::GET_EXPENSE_CATEGORY);
    if (sent != link::LinkOk) return sent;
    engine.Log("---PC sends GET_EXPENSE_CATEGORY\n\n");
    return link::LinkOk;
  }
  const LinkStatus sent = engine.SendCommand(link::ACK);
  if (sent != link::LinkOk) return sent;
  engine.Log("---HDD sends ACK\n\n");
  return link::LinkOk;
}

// The PC does not acknowledge the table; the organizer's side does.
LinkStatus CloseExchange(LinkEngine& engine, TransferRole role) {
  if (IsPcRole(role)) {
    engine.Log("========== End Get Expense Category==========\n\n");
    return link::LinkOk;
  }
  const LinkStatus sent = engine.SendCommand(link::ACK);
  if (sent != link::LinkOk) return sent;
  engine.Log("---HDD sends ACK\n\n");
  return link::LinkOk;
}

}  // namespace

LinkStatus GetExpenseCategory(LinkEngine& engine, link::LinkOwner* /*owner*/, std::uint8_t* buffer,
                              int capacity, int& totalOut, TransferRole role) {
  LinkStatus status = OpenExchange(engine, role);
  if (status != link::LinkOk) return status;
  if (buffer == nullptr) capacity = 0;
  if (capacity > 0) std::fill_n(buffer, capacity, 0);
  int length = 0;
  std::uint8_t kind = 0xFF;
  // Asking for the kind keeps a NACK or FINISH_ALL_RECORDS from being stored
  // as if its five bytes were the table. One byte stays free for the
  // terminator.
  status = WaitDataPacket(engine, ExpenseCategoryCode,
                          PacketOut{buffer, capacity - 1, &length, &kind, nullptr});
  if (status != link::LinkOk) return status;
  if (kind == link::FINISH_ALL_RECORDS) {
    engine.Log("---PC receive FINISH_ALL_RECORDS\n\n");
    if (IsPcRole(role)) engine.Log("========== End Get Expense Category==========\n\n");
    totalOut = 0;
    return link::LinkOk;
  }
  engine.Log("---PC receives DATA\n\n");
  buffer[length++] = kTerminator;
  status = CloseExchange(engine, role);
  if (status != link::LinkOk) return status;
  totalOut = length;
  return link::LinkOk;
}

}  // namespace orgalink::transfer
