// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/byte_link.h"
#include "link/link_status.h"
#include "link/step_result.h"
#include "platform/clock.h"

namespace orgalink::link {

class LinkEngine;

// A command frame: start byte, code, two parameters, checksum.
inline constexpr std::uint8_t CommandStart = 0x7F;
inline constexpr int CommandSize = 5;

// The longest frame on the line: a DataPacket with 252 bytes of contents.
inline constexpr int MaxFrameSize = 258;

// The time limits of one frame wait: an overall deadline taken at the start,
// and a time per byte (TOMultiplier) that, when not 0, gives each read of
// the frame a deadline of its own instead. Settings are not range-checked,
// so everything is reckoned in 64 bits and cut to what a deadline can hold;
// a negative time per byte counts as 0.
class FrameTiming {
 public:
  FrameTiming(const ByteLink& link, long total_ms, long per_byte_ms);

  platform::Tick Overall() const { return overall_; }
  // For a read of `bytes` bytes; `extra_ms` is added for a frame's first byte.
  platform::Tick ReadDeadline(int bytes, std::int64_t extra_ms = 0) const;

 private:
  const ByteLink& link_;
  std::int64_t per_byte_ms_;
  platform::Tick overall_;
};

// Reads the four bytes that follow a command's start byte (already in
// frame[0]) and checks the checksum. On failure logs why and returns the
// status: that of the read, or 11 for a wrong checksum.
StepResult ReadCommandRest(LinkEngine& engine, std::span<std::uint8_t, 5> frame,
                           platform::Tick deadline);

}  // namespace orgalink::link
