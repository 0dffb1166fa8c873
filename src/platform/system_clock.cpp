#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace orgalink::platform {

namespace {

// Ticks from `now` to `tick`, negative when `tick` lies before it.
std::int32_t Distance(Tick now, Tick tick) {
  return static_cast<std::int32_t>(tick - now);
}

}  // namespace

SystemClock& SystemClock::Instance() {
  static SystemClock clock;
  return clock;
}

Tick SystemClock::Now() {
  auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count();
  return static_cast<Tick>(static_cast<std::uint64_t>(ms));
}

std::string SystemClock::LocalTime(const char* format) {
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  char text[128];
  size_t length = strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            Tick deadline,
                            const std::function<std::optional<Tick>()>& next_change) {
  for (;;) {
    if (ready()) return true;
    Tick now = Now();
    if (TickAfter(now, deadline)) return false;
    // Not expired, so the deadline lies 1 to 2^31 ticks ahead.
    std::int64_t remaining = std::int64_t{deadline - now} + 1;
    if (next_change) {
      std::optional<Tick> hint = next_change();
      // A hint that has already passed without making `ready` true would
      // otherwise turn this into a busy loop; it counts as one tick ahead.
      if (hint) remaining = std::min<std::int64_t>(remaining, std::max(1, Distance(now, *hint)));
    }
    changed_.wait_for(lock, std::chrono::milliseconds(remaining));
  }
}

}  // namespace orgalink::platform
