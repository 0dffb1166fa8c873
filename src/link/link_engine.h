// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/byte_link.h"
#include "link/comm_log.h"
#include "link/command_code.h"
#include "link/link_status.h"
#include "link/status_register.h"
#include "link/step_result.h"
#include "platform/clock.h"

namespace orgalink::link {

// The PC's side of the command protocol. It speaks to the organizer over its
// byte link, records the communication in its log, and keeps in its status
// register the result of the last step, which the operations read and set.
// What belongs to the protocol itself lives here: the command packets, the
// device code it announces, the variant it found and the time-outs of its
// waits.
class LinkEngine {
 public:
  explicit LinkEngine(platform::Clock& clock = platform::SystemClock::Instance());
  LinkEngine(const LinkEngine&) = delete;
  LinkEngine& operator=(const LinkEngine&) = delete;

  ByteLink& Link() { return link_; }
  const ByteLink& Link() const { return link_; }
  CommLog& Log() { return log_; }
  const CommLog& Log() const { return log_; }

  void SetStatus(LinkStatus code, int port) { status_.Set(code, port); }
  LinkStatus Status() const { return status_.Get(); }

  // --- what the protocol announces and learns --------------------------------
  void SetDeviceCode(int device_code);
  std::uint8_t DeviceCodeHigh() const { return device_code_[0]; }
  std::uint8_t DeviceCodeLow() const { return device_code_[1]; }
  int ModelVariant() const { return model_variant_; }
  void SetModelVariant(int variant) { model_variant_ = variant; }
  void SetTimeouts(long command_ms, long data_packet_ms, long multiplier_ms);
  long TOCommand() const { return to_command_; }
  long TODataPacket() const { return to_data_packet_; }
  long TOMultiplier() const { return to_multiplier_; }

  // --- command packets ---------------------------------------------------------
  StepResult SendCommand(int code, int p1 = 0, int p2 = 0);
  StepResult WaitCommand(int expected, std::uint8_t* parameters_out = nullptr,
                         std::uint8_t* code_out = nullptr, long timeout = -1, long multiplier = -1);

 private:
  StatusRegister status_;
  CommLog log_;
  ByteLink link_;
  long to_command_ = 30000;
  long to_data_packet_ = 30000;
  long to_multiplier_ = 0;
  std::uint8_t device_code_[2] = {2, 0};
  int model_variant_ = -1;  // unknown until a PC-side negotiation ran
};

// Checksum of a frame: the plain byte sum; callers keep its low 8 bits.
unsigned Checksum(std::span<const std::uint8_t> bytes);

// True for the command codes a wait for any command accepts.
bool IsCommandCode(int code);

}  // namespace orgalink::link
