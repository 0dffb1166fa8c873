// SPDX-License-Identifier: GPL-3.0-or-later
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace orgalink::platform {

namespace {

using Steady = std::chrono::steady_clock;

// Ticks from `now` to `tick`, negative when `tick` lies before it.
std::int32_t Distance(Tick now, Tick tick) {
  return static_cast<std::int32_t>(tick - now);
}

std::chrono::milliseconds SinceBoot(Steady::time_point at) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch());
}

Tick TickAt(Steady::time_point at) {
  return static_cast<Tick>(static_cast<std::uint64_t>(SinceBoot(at).count()));
}

// The instant at which `tick` begins, the tick taken as the one nearest to
// that of `now`.
Steady::time_point TickBegins(Steady::time_point now, Tick tick) {
  return Steady::time_point(SinceBoot(now) +
                            std::chrono::milliseconds(Distance(TickAt(now), tick)));
}

}  // namespace

SystemClock& SystemClock::Instance() {
  static SystemClock clock;
  return clock;
}

Tick SystemClock::Now() {
  return TickAt(Steady::now());
}

std::string SystemClock::LocalTime(const char* format) {
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  char text[128];
  size_t length = strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

bool SystemClock::WaitUntil(const std::shared_ptr<WaitSite>& site,
                            std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            Tick deadline,
                            const std::function<std::optional<Tick>()>& next_change) {
  // The deadline has expired once the tick after it begins.
  return WaitUntilInstant(site, lock, ready, TickBegins(Steady::now(), deadline + 1), next_change);
}

bool SystemClock::WaitFor(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                          const std::function<bool()>& ready, std::chrono::microseconds duration,
                          const std::function<std::optional<Tick>()>& next_change) {
  return WaitUntilInstant(site, lock, ready, Steady::now() + duration, next_change);
}

bool SystemClock::WaitUntilInstant(const std::shared_ptr<WaitSite>& site,
                                   std::unique_lock<std::mutex>& lock,
                                   const std::function<bool()>& ready,
                                   std::chrono::steady_clock::time_point end,
                                   const std::function<std::optional<Tick>()>& next_change) {
  const SiteListing listing(*this, site);
  for (;;) {
    // The hint goes first: working it out may bring about the very change
    // awaited (a paced line hands over the bytes due as it looks), and a hint
    // taken after `ready` could then promise no change while `ready` already
    // holds, leaving the waiter asleep until `end`.
    bool hinted = false;
    Tick hint = 0;
    if (next_change) {
      if (const std::optional<Tick> next = next_change()) {
        hinted = true;
        hint = *next;
      }
    }
    if (ready()) return true;
    const Steady::time_point now = Steady::now();
    if (now >= end) return false;
    Steady::time_point wake = end;
    if (hinted) {
      // A hint that has already passed without making `ready` true would
      // otherwise turn this into a busy loop; it counts as the next tick.
      const Tick tick = TickAt(now);
      wake = std::min(wake, TickBegins(now, TickAfter(hint, tick) ? hint : tick + 1));
    }
    site->changed.wait_until(lock, wake);
  }
}

std::chrono::nanoseconds SystemClock::UntilTick(Tick tick) {
  const Steady::time_point now = Steady::now();
  return std::max(std::chrono::nanoseconds::zero(), TickBegins(now, tick) - now);
}

}  // namespace orgalink::platform
