// SPDX-License-Identifier: GPL-3.0-or-later
// Taking what the PC stores: DELETE_ALL_RECORDS, the records it announces
// packet by packet with SEND_1_RECORD, and the table of SEND_EXPENSE_CATEGORY.
// Each is answered with ACK, or NACK when it cannot be filed.

#include <algorithm>

#include "link/command_code.h"
#include "sim/organizer_session.h"
#include "store/appli_kind.h"
#include "store/record.h"

namespace orgalink::sim {

namespace {

constexpr std::uint8_t kAllApplis = store::AllApplis;

bool IsCategoryTable(const Frame& packet) {
  const std::uint8_t* end = packet.Contents() + packet.Length();
  return packet.Appli() == store::ExpenseCategory && packet.Position() == PositionFirst &&
         packet.Length() > 0 && packet.Length() == packet.RecordSize() &&
         std::find(packet.Contents(), end, store::RecordTerminator) == end;
}

}  // namespace

// "All" empties the six record applications; the category table cannot be
// emptied, only replaced.
OrganizerSession::Step OrganizerSession::DeleteRecords(std::uint8_t appli) {
  if (appli > store::ExpenseCategory && appli != kAllApplis) return Refuse();
  bool acked = false;
  const Step step = Acknowledge(acked);
  if (step || !acked) return step;
  if (appli == store::ExpenseCategory) return std::nullopt;
  contents_.Change([appli](OrganizerContents& c) {
    for (std::uint8_t each = 0; each < store::ExpenseCategory; ++each) {
      if (appli == kAllApplis || appli == each) c.Clear(each);
    }
  });
  changed_ = true;
  return std::nullopt;
}

OrganizerSession::Step OrganizerSession::TakeRecordPacket() {
  Frame packet;
  bool got = false;
  Step step = TakeAnnouncedPacket(packet, got);
  if (step || !got) return step;
  const RecordAssembly::Result result = assembly_.Add(packet);
  if (result == RecordAssembly::Result::Refused) return Refuse();
  receiving_ = true;
  bool acked = false;
  step = Acknowledge(acked);
  if (!acked) assembly_.Reset();
  const bool complete = acked && result == RecordAssembly::Result::Complete;
  if (complete && !plan_.NextRecordKept()) {
    assembly_.Reset();
  } else if (complete) {
    contents_.Change([this](OrganizerContents& c) {
      c.Add(assembly_.Appli(), std::move(assembly_.TakeRecord()), sort_);
    });
    changed_ = true;
  }
  return step;
}

OrganizerSession::Step OrganizerSession::TakeCategory() {
  Frame packet;
  bool got = false;
  Step step = TakeAnnouncedPacket(packet, got);
  if (step || !got) return step;
  if (!IsCategoryTable(packet)) return Refuse();
  bool acked = false;
  step = Acknowledge(acked);
  if (acked) {
    contents_.Change([&packet, this](OrganizerContents& c) {
      c.Add(store::ExpenseCategory, Record(packet.Contents(), packet.Contents() + packet.Length()),
            sort_);
    });
    changed_ = true;
  }
  return step;
}

// The organizer acknowledges the PC's announcement and takes the packet that
// follows. A command in its place is handled as a command; a damaged packet
// is refused here. `got` tells whether an intact packet is in `packet`.
OrganizerSession::Step OrganizerSession::TakeAnnouncedPacket(Frame& packet, bool& got) {
  got = false;
  bool acked = false;
  Step step = Acknowledge(acked);
  if (step || !acked) return step;
  const SimLine::Outcome outcome =
      line_.NextFrame(line_.Deadline(options_.session_timeout_ms), packet);
  if (outcome != SimLine::Outcome::Ok) return Ended(outcome);
  if (packet.command) return Handle(packet);
  bool damaged = false;
  step = StrikePacket(damaged);
  if (step) return step;
  got = packet.intact && !damaged;
  if (got) return std::nullopt;
  assembly_.Reset();
  return Refuse();
}

// ACK, or NACK where the fault asks for one; `acked` tells which went out.
OrganizerSession::Step OrganizerSession::Acknowledge(bool& acked) {
  acked = plan_.NextAck();
  return Send(acked ? link::ACK : link::NACK);
}

}  // namespace orgalink::sim
