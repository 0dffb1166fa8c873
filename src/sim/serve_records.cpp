// SPDX-License-Identifier: GPL-3.0-or-later
// Answering GET_ALL_RECORDS and GET_EXPENSE_CATEGORY: the organizer sends,
// the PC acknowledges every packet of the records (but not the table).

#include "link/command_code.h"
#include "sim/organizer_session.h"
#include "store/appli_kind.h"

namespace orgalink::sim {

OrganizerSession::Step OrganizerSession::ServeRecords(std::uint8_t appli) {
  const std::vector<Record> records =
      contents_.Read([appli](const OrganizerContents& c) { return c.Records(appli); });
  for (const Record& record : records) {
    for (const PacketPiece& piece : CutRecord(record.size())) {
      Step step = SendPacket(PacketFrame(appli, piece.position, record.size(),
                                         record.data() + piece.offset, piece.length));
      bool acked = false;
      if (!step) step = AwaitAck(acked);
      // Anything but an ACK abandons the transfer; the PC ends it properly.
      if (step || !acked) return step;
    }
  }
  return Send(link::FINISH_ALL_RECORDS);
}

// An organizer without categories has no table to send.
OrganizerSession::Step OrganizerSession::ServeCategory() {
  const std::vector<Record> table =
      contents_.Read([](const OrganizerContents& c) { return c.Records(store::ExpenseCategory); });
  if (table.empty()) return Send(link::FINISH_ALL_RECORDS);
  const Record& record = table.front();
  return SendPacket(PacketFrame(store::ExpenseCategory, PositionFirst, record.size(), record.data(),
                                record.size()));
}

OrganizerSession::Step OrganizerSession::SendPacket(Bytes packet) {
  bool damaged = false;
  const Step step = StrikePacket(damaged);
  if (step) return step;
  if (damaged) ++packet.back();
  return Ended(line_.SendFrame(packet.data(), packet.size()));
}

OrganizerSession::Step OrganizerSession::AwaitAck(bool& acked) {
  Frame frame;
  const SimLine::Outcome got = line_.NextFrame(line_.Deadline(options_.session_timeout_ms), frame);
  acked = got == SimLine::Outcome::Ok && frame.Is(link::ACK);
  if (got != SimLine::Outcome::Ok) return Ended(got);
  if (frame.Is(link::NACK)) return SessionEnd::Nack;
  if (frame.Is(link::END_COMMUNICATION)) return SessionEnd::EndCommunication;
  return std::nullopt;
}

}  // namespace orgalink::sim
