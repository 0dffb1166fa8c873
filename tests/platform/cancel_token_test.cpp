// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cancel_token.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>

namespace orgalink::platform {
namespace {

bool Readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

TEST(CancelTokenTest, SetFromAnotherThreadWakesTheWaitAndTheDescriptor) {
  CancelToken token;
  ASSERT_EQ(token.Failure(), "");
  EXPECT_FALSE(Readable(token.WakeFd()));
  SystemClock& clock = SystemClock::Instance();
  std::thread setter([&token] { token.Set(); });
  EXPECT_TRUE(token.WaitUntilSet(clock, Deadline(clock, 60000)));
  setter.join();
  EXPECT_TRUE(token.IsSet());
  EXPECT_TRUE(Readable(token.WakeFd()));
}

// A double click on Abort is one request: it stays set, however often it is
// looked at or set again.
TEST(CancelTokenTest, LatchesAndASecondSetIsTheFirst) {
  CancelToken token;
  token.Set();
  token.Set();
  for (int look = 0; look < 3; ++look) {
    EXPECT_TRUE(token.IsSet());
    EXPECT_TRUE(Readable(token.WakeFd()));
  }
  VirtualClock clock;
  EXPECT_TRUE(token.WaitUntilSet(clock, Deadline(clock, 10)));
  EXPECT_EQ(clock.Now(), Tick{1000});
}

TEST(CancelTokenTest, NeverIsNotSetAndHasNothingToPoll) {
  const CancelToken& never = CancelToken::Never();
  EXPECT_FALSE(never.IsSet());
  EXPECT_EQ(never.WakeFd(), -1);
  VirtualClock clock;
  EXPECT_FALSE(never.WaitUntilSet(clock, Deadline(clock, 30000)));
  EXPECT_EQ(clock.Now(), Tick{1000 + 30001});
}

// A token outlives the clocks it was watched by; setting it after such a
// clock is gone must not touch it.
TEST(CancelTokenTest, SetAfterAWatchedClockIsGoneIsSafe) {
  CancelToken token;
  auto clock = std::make_unique<VirtualClock>();
  token.Watch(*clock);
  clock.reset();
  token.Set();
  VirtualClock next;
  EXPECT_TRUE(token.WaitUntilSet(next, Deadline(next, 10)));
}

// A clock may go on one thread while another sets a token that watched it:
// the set must either wake it before it is gone or leave it alone.
TEST(CancelTokenTest, ClockDestroyedWhileAnotherThreadSetsIsNeverTouched) {
  constexpr int kRounds = 2000;
  std::vector<std::unique_ptr<CancelToken>> tokens;
  for (int round = 0; round < kRounds; ++round) tokens.push_back(std::make_unique<CancelToken>());
  std::atomic<int> ready{0};
  std::thread setter([&] {
    for (int round = 0; round < kRounds; ++round) {
      while (ready.load() <= round) std::this_thread::yield();
      tokens[round]->Set();
    }
  });
  for (int round = 0; round < kRounds; ++round) {
    auto clock = std::make_unique<VirtualClock>();
    tokens[round]->Watch(*clock);
    ready.store(round + 1);
    clock.reset();
  }
  setter.join();
}

}  // namespace
}  // namespace orgalink::platform
