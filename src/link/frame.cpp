// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.h"

#include <algorithm>
#include <cstdint>

#include "link/link_engine.h"

namespace orgalink::link {

FrameTiming::FrameTiming(const ByteLink& link, long total_ms, long per_byte_ms)
    : link_(link),
      per_byte_ms_(std::clamp<std::int64_t>(per_byte_ms, 0, INT32_MAX)),
      overall_(link.SettingDeadline(total_ms)) {}

platform::Tick FrameTiming::ReadDeadline(int bytes, std::int64_t extra_ms) const {
  if (per_byte_ms_ == 0) return overall_;
  // At most 2^31 ms times a frame's length: far inside 64 bits.
  const std::int64_t ms = per_byte_ms_ * bytes + extra_ms;
  return link_.SettingDeadline(static_cast<long>(std::min<std::int64_t>(ms, INT32_MAX)));
}

StepResult ReadCommandRest(LinkEngine& engine, std::span<std::uint8_t, 5> frame,
                           platform::Tick deadline) {
  if (StepResult read = engine.Link().ReadPort(frame.subspan(1), deadline); !read) {
    engine.Log().Line("!!!No Receive(Remains of Command)\n\n");
    return read;
  }
  const auto sum = static_cast<std::uint8_t>(Checksum(frame.first(CommandSize - 1)));
  if (sum != frame[CommandSize - 1]) {
    engine.Log().Line("!!!Checksum Err\n\n");
    engine.SetStatus(LinkIoError, -1);
    return {LinkIoError, Cause::WrongData("checksum of a command", sum, frame[CommandSize - 1])};
  }
  return LinkOk;
}

}  // namespace orgalink::link
