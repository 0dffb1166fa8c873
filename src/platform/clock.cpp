#include "platform/clock.h"

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

}  // namespace orgalink::platform
