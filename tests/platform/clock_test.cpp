// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace orgalink::platform {
namespace {

TEST(TickTest, ComparesAcrossTheWrapAround) {
  struct Case {
    Tick tick;
    Tick deadline;
    bool after;
  };
  const Case cases[] = {
      {0x00000005, 0xFFFFFFF0, true},   // now has wrapped past a deadline set before the wrap
      {0xFFFFFFF0, 0x00000005, false},  // a deadline set across the wrap is still ahead
      {0x00000000, 0xFFFFFFFF, true},
      {0xFFFFFFFF, 0xFFFFFFFF, false},  // reaching the deadline is not passing it
      {1001, 1000, true},
      {999, 1000, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TickAfter(c.tick, c.deadline), c.after) << c.tick << " vs " << c.deadline;
  }
}

TEST(TickTest, DeadlineExpiresOneTickAfterItAcrossTheWrap) {
  VirtualClock clock(0xFFFFFFF0);
  Tick deadline = Deadline(clock, 0x20);
  EXPECT_EQ(deadline, 0x10u);
  clock.Advance(0x1F);  // 0x0F
  EXPECT_FALSE(Expired(clock, deadline));
  clock.Advance(1);  // 0x10: the deadline itself
  EXPECT_FALSE(Expired(clock, deadline));
  clock.Advance(1);
  EXPECT_TRUE(Expired(clock, deadline));
}

TEST(SystemClockTest, WaitWakesOnNotifyAndFailsAtOncePastTheDeadline) {
  SystemClock& clock = SystemClock::Instance();
  bool flag = false;
  std::thread setter([&] {
    {
      std::lock_guard<std::mutex> guard(clock.Mutex());
      flag = true;
    }
    clock.Notify();
  });
  {
    std::unique_lock<std::mutex> lock(clock.Mutex());
    EXPECT_TRUE(clock.WaitUntil(lock, [&] { return flag; }, Deadline(clock, 60000), {}));
  }
  setter.join();

  std::unique_lock<std::mutex> lock(clock.Mutex());
  EXPECT_FALSE(clock.WaitUntil(lock, [] { return false; }, clock.Now() - 1, {}));
}

// Working out the hint may itself bring the change about (a paced line
// hands over the bytes due as it looks), and then says no change is coming:
// the waiter must see that at once, not sleep until its deadline.
TEST(SystemClockTest, AChangeMadeWhileTheHintIsWorkedOutEndsTheWait) {
  SystemClock& clock = SystemClock::Instance();
  bool delivered = false;
  const std::function<std::optional<Tick>()> hint = [&]() -> std::optional<Tick> {
    delivered = true;
    return std::nullopt;
  };
  std::unique_lock<std::mutex> lock(clock.Mutex());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(clock.WaitUntil(
      lock, [&] { return delivered; }, Deadline(clock, 2000), hint));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// A wait for a length of time lasts all of it, to the microsecond, and a
// Notify still ends it early.
TEST(SystemClockTest, WaitForLastsItsFullLengthUnlessReady) {
  SystemClock& clock = SystemClock::Instance();
  std::unique_lock<std::mutex> lock(clock.Mutex());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(clock.WaitFor(lock, [] { return false; }, std::chrono::microseconds(10500), {}));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(10500));
  lock.unlock();

  bool flag = false;
  std::thread setter([&] {
    {
      std::lock_guard<std::mutex> guard(clock.Mutex());
      flag = true;
    }
    clock.Notify();
  });
  lock.lock();
  EXPECT_TRUE(clock.WaitFor(lock, [&] { return flag; }, std::chrono::seconds(60), {}));
  lock.unlock();
  setter.join();
}

TEST(SystemClockTest, LocalTimeUsesTheFormat) {
  std::string text = SystemClock::Instance().LocalTime("%d/%m/%y %H:%M:%S");
  ASSERT_EQ(text.size(), 17u);
  EXPECT_EQ(text[2], '/');
  EXPECT_EQ(text[8], ' ');
  EXPECT_EQ(text[14], ':');
}

}  // namespace
}  // namespace orgalink::platform
