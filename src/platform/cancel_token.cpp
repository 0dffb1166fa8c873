// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cancel_token.h"

#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orgalink::platform {

// The descriptor is an eventfd that is written once, when the token is set,
// and never read: it stays readable from then on.
CancelToken::CancelToken() : wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (!wake_fd_.Valid()) failure_ = std::strerror(errno);
}

CancelToken::CancelToken(Unsettable) : settable_(false) {}

CancelToken::~CancelToken() = default;

const CancelToken& CancelToken::Never() {
  static const CancelToken never{Unsettable{}};
  return never;
}

void CancelToken::Set() {
  if (set_.exchange(true)) return;
  if (wake_fd_.Valid()) eventfd_write(wake_fd_.Get(), 1);
  std::vector<std::shared_ptr<ClockLink>> watchers;
  {
    std::lock_guard<std::mutex> guard(watchers_mutex_);
    watchers = watchers_;
  }
  // Outside the lock: a waiter holds its clock's lock while it looks at
  // this token, and Notify takes that lock.
  for (const std::shared_ptr<ClockLink>& watcher : watchers) watcher->Notify();
}

void CancelToken::Watch(Clock& clock) const {
  if (!settable_) return;
  std::lock_guard<std::mutex> guard(watchers_mutex_);
  // A token may see many short-lived clocks (one per test, say); forget
  // those that are gone.
  std::erase_if(watchers_,
                [](const std::shared_ptr<ClockLink>& watcher) { return watcher->Cut(); });
  for (const std::shared_ptr<ClockLink>& watcher : watchers_) {
    if (watcher->Leads(clock)) return;
  }
  watchers_.push_back(clock.Link());
}

bool CancelToken::WaitUntilSet(Clock& clock, Tick deadline) const {
  Watch(clock);
  std::unique_lock<std::mutex> lock(clock.Mutex());
  return clock.WaitUntil(
      lock, [this] { return IsSet(); }, deadline);
}

}  // namespace orgalink::platform
