// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/frames.h"
#include "sim/sim_options.h"

namespace orgalink::sim {

// The organizer's end of the cable: takes the PC's bytes in as frames,
// returning each byte at once when the cable echoes, and sends the
// organizer's frames, late and after a noise burst when those faults are on.
// Every wait blocks in the port and ends on data, the deadline, a failed line
// or the organizer's stop token.
class SimLine {
 public:
  enum class Outcome { Ok, Timeout, Stopped, Failed };
  // Told of every intact command that comes in.
  using CommandObserver = std::function<void(std::uint8_t code)>;

  SimLine(platform::SerialPort& port, platform::Clock& clock, const platform::CancelToken& stop,
          const SimOptions& options, CommandObserver observer);

  // The next frame from the PC, or why none came before `deadline`.
  Outcome NextFrame(platform::Tick deadline, Frame& frame);
  // Lets time pass until `until`, still taking in what arrives.
  Outcome Pause(platform::Tick until);
  Outcome SendFrame(const std::uint8_t* bytes, std::size_t count);
  Outcome SendCommand(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0);

  platform::Tick Deadline(std::uint32_t ms) const { return platform::Deadline(clock_, ms); }

 private:
  // Waits for more input and takes in all there is.
  Outcome Receive(platform::Tick deadline);
  Outcome Write(const std::uint8_t* bytes, std::size_t count);
  Outcome WriteNoise();

  platform::SerialPort& port_;
  platform::Clock& clock_;
  const platform::CancelToken& stop_;
  const bool echo_;
  const int noise_bytes_;
  const std::uint32_t frame_delay_ms_;
  CommandObserver observer_;
  Bytes input_;
  std::uint32_t noise_state_ = 0x9E3779B9u;
};

}  // namespace orgalink::sim
