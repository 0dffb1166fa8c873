#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
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

// Source of time and the one place where threads block until something
// happens or a deadline passes. Production code uses SystemClock; tests use
// VirtualClock, whose time only moves when every participating thread waits.
class Clock {
 public:
  Clock();
  virtual ~Clock();
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;

  virtual Tick Now() = 0;

  // Local wall-clock time formatted with strftime.
  virtual std::string LocalTime(const char* format) = 0;

  // Guards every piece of state that `WaitUntil` callers observe in `ready`.
  std::mutex& Mutex() { return mutex_; }

  // Blocks with `lock` (on Mutex()) held around every call of `ready` until
  // `ready` returns true (result true) or the deadline has passed, that is
  // Now() is strictly after `deadline` (result false). `next_change`, when
  // given, names the earliest tick at which `ready` may turn true without a
  // Notify (for example bytes in flight on a paced line).
  virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                         Tick deadline,
                         const std::function<std::optional<Tick>()>& next_change = {}) = 0;

  // The same for a wait of `duration` from now rather than up to a deadline
  // tick, kept to the microsecond where the clock can tell (a quiet line is
  // waited for this way). By default whole ticks: the wait ends as the tick
  // `duration` (rounded up) after the current one begins.
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                       std::chrono::microseconds duration,
                       const std::function<std::optional<Tick>()>& next_change = {});

  // Wakes the waiters so that they look at their condition again. Call it
  // after changing observed state, without holding Mutex().
  void Notify();

  // Real time until `tick` begins, for a wait that blocks outside the clock
  // (in poll(), say); zero once it has begun. By default whole ticks.
  virtual std::chrono::nanoseconds UntilTick(Tick tick);

  // The link for holders that may outlive this clock (a cancel token may
  // outlive the clocks it was watched by).
  std::shared_ptr<ClockLink> Link() const { return link_; }

 protected:
  std::mutex mutex_;
  std::condition_variable changed_;
  // Counts the Notify calls, under Mutex(), so that a simulated clock can tell
  // a waiter that has seen the latest change from one that has yet to look.
  std::uint64_t notify_count_ = 0;

 private:
  std::shared_ptr<ClockLink> link_;
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

  Tick Now() override;
  std::string LocalTime(const char* format) override;
  bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                 Tick deadline, const std::function<std::optional<Tick>()>& next_change) override;
  bool WaitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               std::chrono::microseconds duration,
               const std::function<std::optional<Tick>()>& next_change) override;
  // To the exact instant the tick begins.
  std::chrono::nanoseconds UntilTick(Tick tick) override;

 private:
  // Both waits end at an instant of the steady clock, not a whole number of
  // milliseconds after some moment inside the current tick, which would
  // overshoot each of them by up to a tick.
  bool WaitUntilInstant(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
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

  Tick Now() override;
  std::string LocalTime(const char* format) override;
  bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                 Tick deadline, const std::function<std::optional<Tick>()>& next_change) override;

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
  void MoveTime(std::unique_lock<std::mutex>& lock, std::uint32_t ms);

  struct Impl;
  Impl* impl_;
};

}  // namespace orgalink::platform
