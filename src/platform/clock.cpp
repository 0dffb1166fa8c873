#include "platform/clock.h"

#include <algorithm>

namespace orgalink::platform {

void ClockLink::Notify() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (clock_ != nullptr) clock_->Notify();
}

bool ClockLink::Cut() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return clock_ == nullptr;
}

bool ClockLink::Leads(const Clock& clock) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return clock_ == &clock;
}

Clock::Clock() : link_(new ClockLink(this)) {}

// The base's members are still whole here, so a notification that holds the
// link's lock finishes before they go.
Clock::~Clock() {
  std::lock_guard<std::mutex> guard(link_->mutex_);
  link_->clock_ = nullptr;
}

void Clock::Notify() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    ++notify_count_;
  }
  changed_.notify_all();
}

bool Clock::WaitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                    std::chrono::microseconds duration,
                    const std::function<std::optional<Tick>()>& next_change) {
  const auto ticks = static_cast<Tick>((std::max<std::int64_t>(duration.count(), 0) + 999) / 1000);
  return WaitUntil(lock, ready, Now() + ticks - 1, next_change);
}

std::chrono::nanoseconds Clock::UntilTick(Tick tick) {
  const Tick now = Now();
  return std::chrono::milliseconds(TickAfter(tick, now) ? tick - now : 0);
}

}  // namespace orgalink::platform
