// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace orgalink::platform {

// Milliseconds of a free-running 32-bit tick counter. It wraps after about
// 49.7 days, so ticks are only ever compared through their signed difference.
using Tick = std::uint32_t;

// True when `tick` lies strictly after `deadline`, wrap-around included.
constexpr bool TickAfter(Tick tick, Tick deadline) {
  return static_cast<std::int32_t>(tick - deadline) > 0;
}

class Clock;

// What a wait on a clock blocks on: the lock of the state it looks at, held
// while it looks, and the condition variable it sleeps on. State with a lock
// of its own (a virtual cable) has a site of its own; the clock wakes every
// site waited on when time moves or Notify is called.
struct WaitSite {
  std::mutex mutex;
  std::condition_variable changed;
};

// The way a cancel token reaches the waiters of a clock it was watched by,
// held by the token in place of the clock itself. The clock cuts it, under
// the link's lock, when it is destroyed: a notification that got there first
// finishes before the clock goes, and any later one finds the link cut.
class ClockLink {
 public:
  // Wakes the clock's waiters, if the clock still exists.
  void Notify();
  // True once the clock is gone.
  bool Cut() const;
  bool Leads(const Clock& clock) const;

 private:
  friend class Clock;
  explicit ClockLink(Clock* clock) : clock_(clock) {}

  mutable std::mutex mutex_;
  Clock* clock_;
};

// Source of time, and what every timed wait goes through so that it ends at
// its deadline: production code uses SystemClock; tests use VirtualClock,
// whose time only moves when every participating thread waits.
class Clock {
 public:
  Clock();
  virtual ~Clock();
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;

  virtual Tick Now() = 0;

  // Local wall-clock time formatted with strftime.
  virtual std::string LocalTime(const char* format) = 0;

  // The lock of the clock's own site, for state that has none of its own.
  std::mutex& Mutex() { return own_site_->mutex; }

  // Blocks with `lock` (on the site's mutex) held around every call of
  // `ready` and `next_change` until `ready` returns true (result true) or
  // the deadline has passed, that is Now() is strictly after `deadline`
  // (result false). `next_change`, when given, names the earliest tick at
  // which `ready` may turn true without a Notify (for example bytes in
  // flight on a paced line).
  virtual bool WaitUntil(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                         const std::function<bool()>& ready, Tick deadline,
                         const std::function<std::optional<Tick>()>& next_change) = 0;
  // The same on the clock's own site (`lock` on Mutex()).
  bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                 Tick deadline, const std::function<std::optional<Tick>()>& next_change = {}) {
    return WaitUntil(own_site_, lock, ready, deadline, next_change);
  }

  // The same for a wait of `duration` from now rather than up to a deadline
  // tick, kept to the microsecond where the clock can tell (a quiet line is
  // waited for this way). By default whole ticks: the wait ends as the tick
  // `duration` (rounded up) after the current one begins.
  virtual bool WaitFor(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                       const std::function<bool()>& ready, std::chrono::microseconds duration,
                       const std::function<std::optional<Tick>()>& next_change);
  bool WaitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               std::chrono::microseconds duration,
               const std::function<std::optional<Tick>()>& next_change = {}) {
    return WaitFor(own_site_, lock, ready, duration, next_change);
  }

  // Wakes the waiters so that they look at their condition again. Call it
  // after changing observed state, holding no site's lock.
  void Notify();

  // Real time until `tick` begins, for a wait that blocks outside the clock
  // (in poll(), say); zero once it has begun. By default whole ticks.
  virtual std::chrono::nanoseconds UntilTick(Tick tick);

  // The link for holders that may outlive this clock (a cancel token may
  // outlive the clocks it was watched by).
  std::shared_ptr<ClockLink> Link() const { return link_; }

 protected:
  // Lists a site for the duration of one wait, so that Notify reaches it.
  // Made and destroyed with the site's lock held and mutex_ not.
  class SiteListing {
   public:
    SiteListing(Clock& clock, const std::shared_ptr<WaitSite>& site);
    ~SiteListing();
    SiteListing(const SiteListing&) = delete;
    SiteListing& operator=(const SiteListing&) = delete;

   private:
    Clock& clock_;
    std::list<std::shared_ptr<WaitSite>>::iterator position_;
  };

  // Wakes every site waited on; called without mutex_ and without any
  // site's lock.
  void WakeSites();

  // Guards the sites listed, the count below and a subclass's bookkeeping.
  // Taken after a site's lock, never before one.
  std::mutex mutex_;
  // Counts the Notify calls, under mutex_, so that a simulated clock can tell
  // a waiter that has seen the latest change from one that has yet to look.
  std::uint64_t notify_count_ = 0;

 private:
  std::shared_ptr<ClockLink> link_;
  std::shared_ptr<WaitSite> own_site_;
  // Held while listed, so that a wake-up never touches a site that is gone.
  std::list<std::shared_ptr<WaitSite>> sites_;
};

// Deadline `ms` from now on `clock`.
inline Tick Deadline(Clock& clock, std::uint32_t ms) {
  return clock.Now() + ms;
}

// A deadline has expired once the current tick lies strictly after it.
inline bool Expired(Clock& clock, Tick deadline) {
  return TickAfter(clock.Now(), deadline);
}

// The monotonic system clock.
class SystemClock final : public Clock {
 public:
  static SystemClock& Instance();

  using Clock::WaitFor;
  using Clock::WaitUntil;

  Tick Now() override;
  std::string LocalTime(const char* format) override;
  bool WaitUntil(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                 const std::function<bool()>& ready, Tick deadline,
                 const std::function<std::optional<Tick>()>& next_change) override;
  bool WaitFor(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
               const std::function<bool()>& ready, std::chrono::microseconds duration,
               const std::function<std::optional<Tick>()>& next_change) override;
  // To the exact instant the tick begins.
  std::chrono::nanoseconds UntilTick(Tick tick) override;

 private:
  // Both waits end at an instant of the steady clock, not a whole number of
  // milliseconds after some moment inside the current tick, which would
  // overshoot each of them by up to a tick.
  bool WaitUntilInstant(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                        const std::function<bool()>& ready,
                        std::chrono::steady_clock::time_point end,
                        const std::function<std::optional<Tick>()>& next_change);
};

// Simulated time for tests. Time stands still while any participant thread
// runs; once every participant is blocked in WaitUntil (or no participant is
// registered and one waits), time jumps to the earliest of the waiters'
// deadlines (plus one tick, so that they have expired), their next_change
// hints and the scheduled actions. A 30-second time-out thus takes
// microseconds and the order of events stays deterministic.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(Tick start = 1000);
  ~VirtualClock() override;

  using Clock::WaitFor;
  using Clock::WaitUntil;

  Tick Now() override;
  std::string LocalTime(const char* format) override;
  bool WaitUntil(const std::shared_ptr<WaitSite>& site, std::unique_lock<std::mutex>& lock,
                 const std::function<bool()>& ready, Tick deadline,
                 const std::function<std::optional<Tick>()>& next_change) override;

  // Sets the text LocalTime returns (default "01/01/26 00:00:00" style for any format).
  void SetLocalTime(std::string text);

  // Moves time forward by hand (never backwards).
  void Advance(std::uint32_t ms);

  // Runs `action` on the waiting thread, outside Mutex(), once time reaches `at`.
  // Time stands still while it runs, so it must not wait on this clock.
  void At(Tick at, std::function<void()> action);

  // Registers the calling scope's thread as one whose work holds time still.
  // Register every participant before any of them waits (a std::latch does
  // it): until then a lone waiter finds nobody running and moves time on.
  class Participant {
   public:
    explicit Participant(VirtualClock& clock);
    ~Participant();
    Participant(const Participant&) = delete;
    Participant& operator=(const Participant&) = delete;

   private:
    VirtualClock& clock_;
  };

 private:
  std::uint64_t NotifyCount();
  // With `books` on mutex_ held; returns with it held.
  void MoveTime(std::unique_lock<std::mutex>& books, std::uint32_t ms);

  struct Impl;
  Impl* impl_;
};

}  // namespace orgalink::platform
