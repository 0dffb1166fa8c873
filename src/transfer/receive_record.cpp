// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/receive_record.h"

#include <algorithm>

#include "link/text_format.h"
#include "transfer/data_packet.h"

namespace orgalink::transfer {

using link::Cause;
using link::LinkEngine;
using link::StepResult;

namespace {

// The organizer's side: the PC announces the next packet of the record.
StepResult AcceptNextPacketAnnouncement(LinkEngine& engine) {
  const StepResult waited = engine.WaitCommand(link::SEND_1_RECORD);
  if (waited != link::LinkOk) {
    engine.Log().Line("---!!!Receive Another Command\n\n");
    return waited;
  }
  engine.Log().Line("---HDD receives SEND_1_RECORD\n\n");
  const StepResult sent = engine.SendCommand(link::ACK);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line("---HDD sends ACK\n\n");
  return link::LinkOk;
}

}  // namespace

StepResult ReceiveRecord(LinkEngine& engine, std::span<std::uint8_t> buffer, int& countOut,
                         std::uint8_t& kindOut, TransferRole role) {
  const int capacity = static_cast<int>(buffer.size());
  int index = 0;
  bool started = false;
  for (;;) {
    PacketFrame frame{};
    int n = 0;
    std::uint8_t kind = 0xFF;
    std::uint8_t position = 0xFF;
    StepResult status = WaitDataPacket(
        engine, AnyAppliCode, PacketOut{frame.data(), PacketFrameSize, &n, &kind, &position});
    if (status != link::LinkOk) return status;
    if (kind == link::FINISH_ALL_RECORDS) {
      kindOut = link::FINISH_ALL_RECORDS;
      countOut = 0;
      // In the middle of a record it would silently drop the part received.
      if (IsPcRole(role) && !started) return link::LinkOk;
      engine.Log().Line("!!!NOT Packet Data\n\n");
      engine.SetStatus(link::LinkIoError, -1);
      return {link::LinkIoError,
              Cause::WrongData("command", -1, link::FINISH_ALL_RECORDS,
                               started ? "FINISH_ALL_RECORDS came in the middle of a record"
                                       : "FINISH_ALL_RECORDS came where a record was expected")};
    }
    started = true;
    engine.Log().Line("---PC receives DATA\n\n");
    status = engine.SendCommand(link::ACK);
    if (status != link::LinkOk) return status;
    engine.Log().Line("---PC sends ACK\n\n");
    kindOut = kind;
    if (index + n > capacity) {
      engine.SetStatus(link::LinkIoError, -1);
      return {link::LinkIoError,
              Cause::WrongData("record size", -1, index + n,
                               link::Format("a record of %d bytes or more does not fit the %d "
                                            "bytes of room",
                                            index + n, capacity))};
    }
    std::copy_n(frame.data(), n, buffer.begin() + index);
    index += n;
    countOut = index;
    if (position == PacketLast) return link::LinkOk;
    if (!IsPcRole(role)) {
      status = AcceptNextPacketAnnouncement(engine);
      if (status != link::LinkOk) return status;
    }
  }
}

}  // namespace orgalink::transfer
