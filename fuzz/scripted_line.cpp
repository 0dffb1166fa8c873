// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_line.h"

#include <algorithm>
#include <cstring>

namespace orgalink::fuzz {

using platform::Tick;
using platform::TickAfter;
using platform::WaitResult;

bool StepClock::WaitUntil(const std::shared_ptr<platform::WaitSite>& /*site*/,
                          std::unique_lock<std::mutex>& /*lock*/,
                          const std::function<bool()>& ready, Tick deadline,
                          const std::function<std::optional<Tick>()>& next_change) {
  for (;;) {
    if (ready()) return true;
    if (TickAfter(now_, deadline)) return false;
    // A deadline not yet expired lies 0 to 2^31 - 1 ticks ahead.
    std::uint32_t step = deadline - now_ + 1;
    if (next_change) {
      const std::optional<Tick> hint = next_change();
      if (hint && TickAfter(*hint, now_)) step = std::min<std::uint32_t>(step, *hint - now_);
    }
    now_ += step;
  }
}

void ScriptedPort::Deliver() {
  const std::size_t end = arrivals_.size();
  if (next_ == end) return;
  const Tick now = clock_.Now();
  const Arrival* arrivals = arrivals_.data();
  std::size_t next = next_;
  while (next < end && !TickAfter(arrivals[next].at, now)) input_.push_back(arrivals[next++].byte);
  next_ = next;
}

bool ScriptedPort::Purge(bool input, bool /*output*/) {
  Deliver();
  if (input) {
    input_.clear();
    head_ = 0;
  }
  return true;
}

int ScriptedPort::InQueue() {
  Deliver();
  return static_cast<int>(input_.size() - head_);
}

int ScriptedPort::Read(std::uint8_t* buffer, std::size_t max) {
  Deliver();
  const std::size_t got = std::min(max, input_.size() - head_);
  std::memcpy(buffer, input_.data() + head_, got);
  head_ += got;
  return static_cast<int>(got);
}

WaitResult ScriptedPort::Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                               Tick /*deadline*/, const platform::CancelToken& /*cancel*/) {
  Deliver();
  if (echo_) input_.insert(input_.end(), data + written, data + count);
  written = count;
  return WaitResult::Ready;
}

// Nobody else runs: the input grows only as time reaches the next arrival.
WaitResult ScriptedPort::WaitInput(std::size_t count, Tick deadline,
                                   const platform::CancelToken& /*cancel*/) {
  for (;;) {
    Deliver();
    if (input_.size() - head_ >= count) return WaitResult::Ready;
    const Tick now = clock_.Now();
    if (TickAfter(now, deadline)) return WaitResult::Timeout;
    // To the next arrival, which lies ahead after Deliver, or past the deadline.
    std::uint32_t step = deadline - now + 1;
    if (next_ < arrivals_.size()) step = std::min<std::uint32_t>(step, arrivals_[next_].at - now);
    clock_.Advance(step);
  }
}

// Whole ticks, as the virtual clock counts a time limit.
WaitResult ScriptedPort::WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                      const platform::CancelToken& cancel) {
  const auto ticks = static_cast<Tick>((std::max<std::int64_t>(limit.count(), 0) + 999) / 1000);
  return WaitInput(count, clock_.Now() + ticks - 1, cancel);
}

WaitResult ScriptedPort::WaitOutputEmpty(Tick /*deadline*/,
                                         const platform::CancelToken& /*cancel*/) {
  return WaitResult::Ready;
}

}  // namespace orgalink::fuzz
