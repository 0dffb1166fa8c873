// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/send_record.h"

#include "transfer/command_steps.h"
#include "transfer/data_packet.h"
#include "transfer/packet_cut.h"

namespace orgalink::transfer {

using link::LinkEngine;
using link::StepResult;

namespace {

// The PC announces every packet and waits for the organizer to be ready.
StepResult Announce(LinkEngine& engine) {
  const StepResult sent = SendLogged(engine, link::SEND_1_RECORD, "---PC sends SEND_1_RECORD\n\n");
  if (sent != link::LinkOk) return sent;
  return AwaitAck(engine);
}

}  // namespace

StepResult SendRecord(LinkEngine& engine, std::span<const std::uint8_t> record,
                      std::uint8_t appliCode, TransferRole role) {
  const int size = static_cast<int>(record.size());
  engine.Log().Line("\n========== Start Send 1 Record ==========\n\n");
  for (int offset = 0; offset < size;) {
    StepResult status = IsPcRole(role) ? Announce(engine) : link::LinkOk;
    if (status != link::LinkOk) return status;
    const PacketCut cut = NextPacketCut(size, offset);
    status =
        SendDataPacket(engine, record.subspan(offset, cut.length), size, appliCode, cut.position);
    if (status != link::LinkOk) {
      engine.Log().Line("!!!DATA Send Err\n\n");
      return status;
    }
    engine.Log().Line("---PC sends DATA\n\n");
    status = AwaitAck(engine);
    if (status != link::LinkOk) return status;
    offset += cut.length;
  }
  engine.Log().Line("========== End Send 1 Record ==========\n\n");
  return link::LinkOk;
}

}  // namespace orgalink::transfer
