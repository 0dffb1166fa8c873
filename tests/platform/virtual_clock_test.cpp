// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <latch>
#include <memory>
#include <thread>

#include "platform/cancel_token.h"
#include "platform/clock.h"

namespace orgalink::platform {
namespace {

constexpr Tick kStart = 1000;

TEST(VirtualClockTest, LongTimeOutTakesNoRealTime) {
  // The farthest deadline a tick can name lies 2^31 - 1 ticks ahead.
  for (std::uint32_t wait_ms : {30000u, 0x7FFFFFFFu}) {
    VirtualClock clock(kStart);
    auto real_start = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(clock.Mutex());
    EXPECT_FALSE(clock.WaitUntil(lock, [] { return false; }, kStart + wait_ms, {}));
    EXPECT_EQ(clock.Now(), kStart + wait_ms + 1);
    EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(1));
  }
}

TEST(VirtualClockTest, ScheduledActionWakesAWaiterAtItsTick) {
  VirtualClock clock(kStart);
  CancelToken token;
  clock.At(kStart + 100, [&token] { token.Set(); });
  EXPECT_TRUE(token.WaitUntilSet(clock, kStart + 30000));
  EXPECT_EQ(clock.Now(), kStart + 100);
}

TEST(VirtualClockTest, NextChangeHintStopsTimeWhereTheConditionTurns) {
  VirtualClock clock(kStart);
  std::unique_lock<std::mutex> lock(clock.Mutex());
  bool ready = clock.WaitUntil(
      lock, [&] { return clock.Now() >= kStart + 7; }, kStart + 30000,
      [] { return std::optional<Tick>(kStart + 7); });
  EXPECT_TRUE(ready);
  EXPECT_EQ(clock.Now(), kStart + 7);
}

TEST(VirtualClockTest, NonParticipantWaitsForTheParticipants) {
  VirtualClock clock(kStart);
  CancelToken done;
  std::latch registered(1);
  std::thread worker([&] {
    VirtualClock::Participant participant(clock);
    registered.count_down();
    std::unique_lock<std::mutex> lock(clock.Mutex());
    clock.WaitUntil(lock, [] { return false; }, kStart + 300, {});
    lock.unlock();
    done.Set();
  });
  registered.wait();
  // Only the participant's own deadline moves time; the main thread's
  // 1000 ms would otherwise end its wait first.
  EXPECT_TRUE(done.WaitUntilSet(clock, kStart + 1000));
  EXPECT_EQ(clock.Now(), kStart + 301);
  worker.join();
}

TEST(VirtualClockTest, LeavingParticipantLetsTheOthersMoveTime) {
  VirtualClock clock(kStart);
  std::latch waiting(1);
  std::latch registered(2);
  bool timed_out = false;
  std::thread waiter([&] {
    VirtualClock::Participant participant(clock);
    registered.arrive_and_wait();
    std::unique_lock<std::mutex> lock(clock.Mutex());
    bool first_look = true;
    timed_out = !clock.WaitUntil(lock,
                                 [&] {
                                   if (first_look) waiting.count_down();
                                   first_look = false;
                                   return false;
                                 },
                                 kStart + 500, {});
  });
  {
    VirtualClock::Participant busy(clock);
    registered.arrive_and_wait();
    waiting.wait();
    EXPECT_EQ(clock.Now(), kStart);  // still running: time stands
  }
  waiter.join();
  EXPECT_TRUE(timed_out);
  EXPECT_EQ(clock.Now(), kStart + 501);
}

// A look reads the state at one moment; when time moves between that moment
// and the waiter's report that it looked (another waiter moved it, or here
// the test), the look is out of date and the waiter must look again before
// time moves on for it. Otherwise time runs past what the waiter awaits.
TEST(VirtualClockTest, ALookThatTimeOvertookIsMadeAgain) {
  VirtualClock clock(kStart);
  std::thread mover;
  int looks = 0;
  std::unique_lock<std::mutex> lock(clock.Mutex());
  const bool ready = clock.WaitUntil(lock,
                                     [&] {
                                       if (++looks > 1) return clock.Now() >= kStart + 10;
                                       mover = std::thread([&clock] { clock.Advance(10); });
                                       while (clock.Now() == kStart) std::this_thread::yield();
                                       return false;  // what the look found before time moved
                                     },
                                     kStart + 100, {});
  const Tick woke = clock.Now();
  lock.unlock();
  mover.join();
  EXPECT_TRUE(ready);
  EXPECT_EQ(woke, kStart + 10);
}

// A waiter is listed before its first look. Until it has looked, time must
// not move for the others: what it waits for (here its hint at +3) is not
// known yet, and another participant's deadline (+50) would pass over it.
TEST(VirtualClockTest, AWaiterThatHasNotLookedYetHoldsTime) {
  VirtualClock clock(kStart);
  std::latch registered(2);
  std::latch y_looking(1);
  std::latch x_looked(1);
  Tick y_woke = 0;
  std::thread y([&] {
    VirtualClock::Participant participant(clock);
    registered.arrive_and_wait();
    auto site = std::make_shared<WaitSite>();
    std::unique_lock<std::mutex> lock(site->mutex);
    bool first = true;
    clock.WaitUntil(
        site, lock, [&] { return clock.Now() >= kStart + 3; }, kStart + 1000,
        [&]() -> std::optional<Tick> {
          if (first) {
            first = false;
            y_looking.count_down();
            x_looked.wait();
            // X lets go of its site's lock once it sleeps (or moves time).
            std::lock_guard<std::mutex> x_done(clock.Mutex());
          }
          return kStart + 3;
        });
    y_woke = clock.Now();
  });
  {
    VirtualClock::Participant participant(clock);
    registered.arrive_and_wait();
    y_looking.wait();
    std::unique_lock<std::mutex> lock(clock.Mutex());
    bool first = true;
    clock.WaitUntil(lock,
                    [&] {
                      if (first) x_looked.count_down();
                      first = false;
                      return false;
                    },
                    kStart + 50, {});
  }
  y.join();
  EXPECT_EQ(y_woke, kStart + 3);
}

}  // namespace
}  // namespace orgalink::platform
