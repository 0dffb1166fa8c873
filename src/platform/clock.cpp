#include "platform/clock.h"

namespace orgalink::platform {

void Clock::Notify() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    ++notify_count_;
  }
  changed_.notify_all();
}

}  // namespace orgalink::platform
