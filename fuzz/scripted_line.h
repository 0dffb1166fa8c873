// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The engine's end of a serial line on which the organizer's bytes arrive
// at set ticks, and the clock that goes with it, for the receive fuzzer: one
// thread, no descriptors, no real time. A wait with nothing left to happen
// before its deadline moves the clock straight there, so an input with
// 30-second time-outs runs in microseconds, the same way every time.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::fuzz {

// Time that moves only when the one thread waits: at once to the earliest
// of the wait's deadline (one tick past it) and its hint.
class StepClock final : public platform::Clock {
 public:
  explicit StepClock(platform::Tick start) : now_(start) {}

  using platform::Clock::WaitUntil;

  platform::Tick Now() override { return now_; }
  std::string LocalTime(const char*) override { return "01/01/26 00:00:00"; }
  bool WaitUntil(const std::shared_ptr<platform::WaitSite>& site,
                 std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                 platform::Tick deadline,
                 const std::function<std::optional<platform::Tick>()>& next_change) override;

  void Advance(std::uint32_t ms) { now_ += ms; }

 private:
  platform::Tick now_;
};

// A byte from the far side and the tick it reaches the engine's end.
struct Arrival {
  platform::Tick at;
  std::uint8_t byte;
};

class ScriptedPort final : public platform::SerialPort {
 public:
  // With `echo` every written byte comes back at once, as on a cable with
  // echo.
  ScriptedPort(StepClock& clock, bool echo) : clock_(clock), echo_(echo) {}

  // What the far side sends, in order of the ticks.
  void Schedule(std::vector<Arrival> arrivals) { arrivals_ = std::move(arrivals); }

  bool Purge(bool input, bool output) override;
  int InQueue() override;
  int OutQueue() override { return 0; }
  int Read(std::uint8_t* buffer, std::size_t max) override;
  platform::WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                             platform::Tick deadline, const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInput(std::size_t count, platform::Tick deadline,
                                 const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                    const platform::CancelToken& cancel) override;
  platform::WaitResult WaitOutputEmpty(platform::Tick deadline,
                                       const platform::CancelToken& cancel) override;

 private:
  // Moves the bytes whose tick has come into the input.
  void Deliver();

  StepClock& clock_;
  std::vector<Arrival> arrivals_;
  std::size_t next_ = 0;
  // Received and not yet read: input_[head_..].
  std::vector<std::uint8_t> input_;
  std::size_t head_ = 0;
  const bool echo_;
};

}  // namespace orgalink::fuzz
