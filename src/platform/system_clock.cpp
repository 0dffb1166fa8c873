#include <time.h>

#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace orgalink::platform {

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
    Tick wake = deadline + 1;
    if (next_change) {
      std::optional<Tick> hint = next_change();
      if (hint && TickAfter(wake, *hint)) wake = *hint;
    }
    // A hint that has already passed without making `ready` true would
    // otherwise turn this into a busy loop; sleep at least one tick.
    std::int32_t remaining = static_cast<std::int32_t>(wake - now);
    if (remaining < 1) remaining = 1;
    changed_.wait_for(lock, std::chrono::milliseconds(remaining));
  }
}

}  // namespace orgalink::platform
