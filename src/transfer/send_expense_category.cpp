// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/send_expense_category.h"

#include <algorithm>

#include "transfer/appli_code.h"
#include "transfer/command_steps.h"
#include "transfer/data_packet.h"
#include "transfer/nothing_to_send.h"

namespace orgalink::transfer {

using link::Cause;
using link::LinkEngine;
using link::StepResult;

StepResult SendExpenseCategory(LinkEngine& engine, std::span<const std::uint8_t> stream,
                               TransferRole role) {
  if (!engine.Link().IsPortOpen() || stream.empty()) {
    return {link::LinkIoError, NothingToSend(engine)};
  }
  const int length = static_cast<int>(stream.size());
  const int table =
      static_cast<int>(std::find(stream.begin(), stream.end(), 0xFF) - stream.begin());
  if (length != table + 1) {
    engine.Log().Line("!!! Record Data Err(DataSize)\n");
    engine.SetStatus(link::LinkIoError, -1);
    return {link::LinkIoError,
            Cause::WrongData("size of the expense category table", table + 1, length)};
  }
  StepResult status = link::LinkOk;
  if (IsPcRole(role)) {
    status =
        SendLogged(engine, link::SEND_EXPENSE_CATEGORY, "---PC sends SEND_EXPENSE_CATEGORY\n\n");
    if (status == link::LinkOk) status = AwaitAck(engine);
    if (status != link::LinkOk) return status;
  }
  status = SendDataPacket(engine, stream.first(table), table, ExpenseCategoryCode, PacketFirst);
  if (status != link::LinkOk) {
    engine.Log().Line("!!!DATA Send Err\n\n");
    engine.SetStatus(status.status, -1);  // a refused length leaves the status untouched
    return status;
  }
  engine.Log().Line("---PC sends DATA\n\n");
  // The PC does not acknowledge the table it asked for.
  if (!IsPcRole(role)) return link::LinkOk;
  return AwaitAck(engine);
}

}  // namespace orgalink::transfer
