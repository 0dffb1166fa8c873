// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <algorithm>
#include <vector>

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

Clock::Clock() : link_(new ClockLink(this)), own_site_(std::make_shared<WaitSite>()) {}

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
  WakeSites();
}

// The lock of each site is taken before its wake-up, so that a waiter that
// has looked and is about to sleep cannot miss it.
void Clock::WakeSites() {
  std::vector<std::shared_ptr<WaitSite>> sites;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    sites.assign(sites_.begin(), sites_.end());
  }
  for (const std::shared_ptr<WaitSite>& site : sites) {
    { std::lock_guard<std::mutex> guard(site->mutex); }
    site->changed.notify_all();
  }
}

Clock::SiteListing::SiteListing(Clock& clock, const std::shared_ptr<WaitSite>& site)
    : clock_(clock) {
  std::lock_guard<std::mutex> guard(clock_.mutex_);
  position_ = clock_.sites_.insert(clock_.sites_.end(), site);
}

Clock::SiteListing::~SiteListing() {
  std::lock_guard<std::mutex> guard(clock_.mutex_);
  clock_.sites_.erase(position_);
}

bool Clock::WaitFor(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                    const std::function<bool()>& ready, std::chrono::microseconds duration,
                    const std::function<std::optional<Tick>()>& next_change) {
  const auto ticks = static_cast<Tick>((std::max<std::int64_t>(duration.count(), 0) + 999) / 1000);
  return WaitUntil(site, lock, ready, Now() + ticks - 1, next_change);
}

std::chrono::nanoseconds Clock::UntilTick(Tick tick) {
  const Tick now = Now();
  return std::chrono::milliseconds(TickAfter(tick, now) ? tick - now : 0);
}

}  // namespace orgalink::platform
