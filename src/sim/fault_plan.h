// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/sim_options.h"

namespace orgalink::sim {

// Counts the packets, ACKs and records of one session and says which of them the
// configured faults hit.
class FaultPlan {
 public:
  enum class PacketFate { Normal, BadChecksum, Silence, HangUp };

  explicit FaultPlan(const SimFaults& faults) : faults_(faults) {}

  // The fate of the next DataPacket, sent or taken. Once silent, silent for
  // the rest of the session.
  PacketFate NextPacket();
  // False when the next ACK is to be a NACK.
  bool NextAck();
  // False when the record just taken in is to be lost.
  bool NextRecordKept();

 private:
  const SimFaults faults_;
  int packets_ = 0;
  int acks_ = 0;
  int records_ = 0;
};

}  // namespace orgalink::sim
