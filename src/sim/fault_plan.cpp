// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/fault_plan.h"

namespace orgalink::sim {

namespace {

bool Reached(int count, int at) {
  return at > 0 && count >= at;
}

}  // namespace

FaultPlan::PacketFate FaultPlan::NextPacket() {
  ++packets_;
  if (faults_.hang_up_at_packet == packets_) return PacketFate::HangUp;
  if (Reached(packets_, faults_.silence_from_packet)) return PacketFate::Silence;
  if (faults_.bad_checksum_at_packet == packets_) return PacketFate::BadChecksum;
  return PacketFate::Normal;
}

bool FaultPlan::NextAck() {
  ++acks_;
  return faults_.nack_at_ack != acks_;
}

bool FaultPlan::NextRecordKept() {
  ++records_;
  return faults_.drop_record != records_;
}

}  // namespace orgalink::sim
