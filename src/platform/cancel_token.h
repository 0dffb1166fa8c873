// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/unique_fd.h"

namespace orgalink::platform {

// A request to stop a communication or a search, made from any thread (the
// dialog's Abort button, the watcher of Ctrl-C and SIGTERM, a closing
// window) and seen by every wait of the thread that runs it. It latches: once
// set it stays set, and setting it again changes nothing, so that two quick
// requests are one.
class CancelToken {
 public:
  CancelToken();
  ~CancelToken();
  CancelToken(const CancelToken&) = delete;
  CancelToken& operator=(const CancelToken&) = delete;

  void Set();
  bool IsSet() const { return set_.load(); }

  // Polls readable from the moment the token is set, for waits that block in
  // poll(); -1 for a token that nobody can set.
  int WakeFd() const { return wake_fd_.Get(); }

  // Why the descriptor could not be made; empty when it was. A token without
  // one could never wake a wait in poll(), so it must not be relied on.
  const std::string& Failure() const { return failure_; }

  // Makes Set wake the waiters of `clock` as well, for waits that block on a
  // clock (virtual time). Idempotent.
  void Watch(Clock& clock) const;

  // Blocks until the token is set (true) or `deadline` has expired on
  // `clock` (false).
  bool WaitUntilSet(Clock& clock, Tick deadline) const;

  // A token that nobody can set: for a wait that must run to its own end
  // whatever the user asks, such as the goodbye to the organizer.
  static const CancelToken& Never();

 private:
  struct Unsettable {};
  explicit CancelToken(Unsettable);

  std::atomic<bool> set_{false};
  UniqueFd wake_fd_;
  std::string failure_;
  const bool settable_ = true;
  // Taken before a clock link's lock and the clock's; nothing else under it.
  mutable std::mutex watchers_mutex_;
  mutable std::vector<std::shared_ptr<ClockLink>> watchers_;
};

}  // namespace orgalink::platform
