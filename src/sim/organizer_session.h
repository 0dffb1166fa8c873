// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "sim/fault_plan.h"
#include "sim/record_assembly.h"
#include "sim/shared_contents.h"
#include "sim/sim_line.h"
#include "sim/sim_options.h"
#include "sim/telephone_sort.h"

namespace orgalink::sim {

// How a session ended.
enum class SessionEnd {
  EndCommunication,  // the PC said goodbye
  Nack,              // the PC gave up
  Quiet,             // the PC said nothing for the session time-out
  Silent,            // the silence fault: the organizer stopped answering
  HungUp,            // the hang-up fault cut the line
  LineFailed,        // the line broke
  Stopped,           // the organizer was switched off
};

// One communication from the organizer's side, from DEVICE_INFORMATION to
// the PC's END_COMMUNICATION or NACK: it answers the PC's commands, serves
// and files records, and lets the configured faults strike.
class OrganizerSession {
 public:
  OrganizerSession(SimLine& line, const SimOptions& options, const TelephoneSort& sort,
                   SharedContents& contents, std::function<void()> hang_up);

  SessionEnd Run();
  // True once the session has stored or deleted anything.
  bool Changed() const { return changed_; }

 private:
  // Nothing while the session goes on, else how it ended.
  using Step = std::optional<SessionEnd>;

  Step Handle(const Frame& frame);
  Step AnswerDeviceInformation();
  Step Send(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0);
  Step Refuse();
  Step Ended(SimLine::Outcome outcome) const;
  // Lets the packet faults strike the next packet, sent or taken; `damaged`
  // tells whether it is to have a wrong checksum.
  Step StrikePacket(bool& damaged);
  Step HangUp();
  Step FallSilent();

  // Serving the PC's requests (serve_records.cpp).
  Step ServeRecords(std::uint8_t appli);
  Step ServeCategory();
  Step SendPacket(Bytes packet);
  Step AwaitAck(bool& acked);

  // Taking what the PC sends (take_records.cpp).
  Step DeleteRecords(std::uint8_t appli);
  Step TakeRecordPacket();
  Step TakeCategory();
  Step TakeAnnouncedPacket(Frame& packet, bool& got);
  Step Acknowledge(bool& acked);

  SimLine& line_;
  const SimOptions& options_;
  const TelephoneSort& sort_;
  SharedContents& contents_;
  std::function<void()> hang_up_;
  FaultPlan plan_;
  RecordAssembly assembly_;
  bool changed_ = false;
  // Once the PC has sent records, the organizer sits in its receive loop
  // for the rest of the communication: it takes more records or the
  // goodbye, and refuses to serve any.
  bool receiving_ = false;
};

}  // namespace orgalink::sim
