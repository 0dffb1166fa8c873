// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/virtual_line.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <latch>
#include <string>
#include <thread>

#include "support/result_order.h"

namespace orgalink::platform {
namespace {

using End = VirtualLine::End;
using Fault = VirtualLine::Fault;

constexpr Tick kStart = 1000;

WaitResult Send(SerialPort& port, const std::string& text) {
  std::size_t written = 0;
  // An end that is not stalled takes every byte at once: the deadline never counts.
  WaitResult result = port.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                                 written, 0, CancelToken::Never());
  EXPECT_TRUE(result != WaitResult::Ready || written == text.size());
  return result;
}

std::string Take(SerialPort& port) {
  std::uint8_t buffer[256];
  int got = port.Read(buffer, sizeof buffer);
  return got < 0 ? "<error>" : std::string(buffer, buffer + got);
}

class VirtualLineTest : public testing::Test {
 protected:
  VirtualClock clock{kStart};
  const CancelToken& none = CancelToken::Never();
};

TEST_F(VirtualLineTest, EchoReturnsAnEndsBytesToItself) {
  struct Case {
    bool echo_a;
    bool echo_b;
  };
  for (Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    VirtualLine line(clock, {c.echo_a, c.echo_b, 0});
    auto a = line.Open(End::A);
    auto b = line.Open(End::B);
    ASSERT_EQ(Send(*a, "abc"), WaitResult::Ready);
    ASSERT_EQ(Send(*b, "xy"), WaitResult::Ready);
    // Bytes of the same instant arrive in the order they were written.
    EXPECT_EQ(Take(*a), c.echo_a ? "abcxy" : "xy");
    EXPECT_EQ(Take(*b), c.echo_b ? "abcxy" : "abc");
  }
}

TEST_F(VirtualLineTest, PacedBytesArriveAfterTenBitTimesEach) {
  struct Case {
    int baud;
    std::size_t bytes;
    Tick last_arrival;
  };
  const Case cases[] = {
      {19200, 5, 3},    // 2.604 ms, rounded up to whole ticks
      {19200, 48, 25},  // exactly 25 ms: no rounding error piles up per byte
      {9600, 5, 6},     // 5.208 ms
      {115200, 1, 1},   // 0.087 ms
  };
  for (const Case& c : cases) {
    VirtualClock paced(kStart);
    VirtualLine line(paced, {false, false, c.baud});
    auto a = line.Open(End::A);
    auto b = line.Open(End::B);
    ASSERT_EQ(Send(*a, std::string(c.bytes, 'x')), WaitResult::Ready);
    EXPECT_EQ(a->OutQueue(), static_cast<int>(c.bytes));
    EXPECT_EQ(b->WaitInput(c.bytes, kStart + 1000, none), WaitResult::Ready);
    EXPECT_EQ(paced.Now() - kStart, c.last_arrival) << c.baud << " baud, " << c.bytes;
    EXPECT_EQ(a->OutQueue(), 0);
    EXPECT_EQ(a->WaitOutputEmpty(kStart + 1000, none), WaitResult::Ready);
  }
}

TEST_F(VirtualLineTest, FaultHookDropsReplacesAndDelaysSingleBytes) {
  VirtualLine line(clock, {});
  std::vector<std::uint64_t> indices;
  line.SetFaultHook([&](End from, std::uint64_t index, std::uint8_t) {
    EXPECT_EQ(from, End::A);
    indices.push_back(index);
    switch (index) {
      case 1:
        return Fault{Fault::Kind::Drop};
      case 2:
        return Fault{Fault::Kind::Replace, 'Z'};
      case 4:
        return Fault{Fault::Kind::Delay, 0, 50};
      default:
        return Fault{};
    }
  });
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*a, "abcd"), WaitResult::Ready);
  ASSERT_EQ(Send(*a, "ef"), WaitResult::Ready);
  EXPECT_EQ(Take(*b), "aZd");
  // The delayed byte holds back the one behind it, as on a real wire.
  EXPECT_EQ(b->WaitInput(2, kStart + 1000, none), WaitResult::Ready);
  EXPECT_EQ(clock.Now(), kStart + 50);
  EXPECT_EQ(Take(*b), "ef");
  EXPECT_EQ(indices, (std::vector<std::uint64_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(line.BytesWritten(End::A), 6u);
  EXPECT_EQ(line.BytesWritten(End::B), 0u);
}

TEST_F(VirtualLineTest, HangUpFailsEverythingAtBothEnds) {
  VirtualLine line(clock, {});
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*a, "abc"), WaitResult::Ready);
  EXPECT_EQ(a->LastError(), 0);
  line.HangUp();
  for (SerialPort* port : {a.get(), b.get()}) {
    std::uint8_t byte = 0;
    EXPECT_EQ(port->WaitInput(1, kStart + 1000, none), WaitResult::Error);
    // As a real device tells its hang-up.
    EXPECT_EQ(port->LastError(), EIO);
    EXPECT_EQ(Send(*port, "x"), WaitResult::Error);
    EXPECT_EQ(port->WaitOutputEmpty(kStart + 1000, none), WaitResult::Error);
    EXPECT_EQ(port->InQueue(), -1);
    EXPECT_EQ(port->OutQueue(), -1);
    EXPECT_EQ(port->Read(&byte, 1), -1);
    EXPECT_FALSE(port->Purge(true, true));
  }
  EXPECT_EQ(clock.Now(), kStart);  // the waits failed at once
}

TEST_F(VirtualLineTest, HangUpWakesAWaiterOnAnotherThread) {
  VirtualLine line(SystemClock::Instance(), {});
  auto a = line.Open(End::A);
  std::thread cutter([&] { line.HangUp(); });
  EXPECT_EQ(a->WaitInput(1, Deadline(SystemClock::Instance(), 60000), none), WaitResult::Error);
  cutter.join();
}

TEST_F(VirtualLineTest, EndKeptPastTheLineFailsSafely) {
  std::unique_ptr<SerialPort> a;
  {
    VirtualLine line(clock, {});
    a = line.Open(End::A);
  }
  EXPECT_EQ(Send(*a, "x"), WaitResult::Error);
  EXPECT_EQ(a->InQueue(), -1);
}

TEST_F(VirtualLineTest, EachEndOpensOnceAtATime) {
  VirtualLine line(clock, {});
  auto a = line.Open(End::A);
  ASSERT_TRUE(a);
  EXPECT_FALSE(line.Open(End::A));
  EXPECT_TRUE(line.Open(End::B));
  a.reset();
  EXPECT_TRUE(line.Open(End::A));
}

TEST_F(VirtualLineTest, BytesArrivingAtAClosedEndAreLost) {
  VirtualLine line(clock, {});
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*b, "lost"), WaitResult::Ready);
  auto a = line.Open(End::A);
  EXPECT_EQ(a->InQueue(), 0);
}

TEST_F(VirtualLineTest, PurgeClearsArrivedInputAndTakesBackUnsentOutput) {
  VirtualLine line(clock, {false, false, 9600});
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*a, "ab"), WaitResult::Ready);
  ASSERT_EQ(b->WaitInput(1, kStart + 1000, none), WaitResult::Ready);
  EXPECT_TRUE(b->Purge(true, false));
  EXPECT_EQ(b->InQueue(), 0);
  // The byte still on the wire was not in the input yet and still arrives.
  EXPECT_EQ(b->WaitInput(1, kStart + 1000, none), WaitResult::Ready);
  EXPECT_EQ(Take(*b), "b");

  ASSERT_EQ(Send(*a, "cd"), WaitResult::Ready);
  EXPECT_TRUE(a->Purge(false, true));
  EXPECT_EQ(a->OutQueue(), 0);
  EXPECT_EQ(b->WaitInput(1, clock.Now() + 100, none), WaitResult::Timeout);
}

TEST_F(VirtualLineTest, CancelEndsAWaitForInput) {
  VirtualLine line(clock, {});
  auto a = line.Open(End::A);
  CancelToken cancel;
  clock.At(kStart + 100, [&cancel] { cancel.Set(); });
  EXPECT_EQ(a->WaitInput(1, kStart + 30000, cancel), WaitResult::Cancelled);
  EXPECT_EQ(clock.Now(), kStart + 100);
}

TEST_F(VirtualLineTest, StalledEndWritesOnlyUntilItsDeadlineOrItsRelease) {
  VirtualLine line(clock, {});
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  line.StallWrites(End::A, true);
  const std::uint8_t bytes[] = {1, 2, 3};
  std::size_t written = 0;
  EXPECT_EQ(a->Write(bytes, 3, written, kStart + 500, none), WaitResult::Timeout);
  EXPECT_EQ(clock.Now(), kStart + 501);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(b->InQueue(), 0);

  clock.At(clock.Now() + 20, [&] { line.StallWrites(End::A, false); });
  EXPECT_EQ(a->Write(bytes, 3, written, clock.Now() + 500, none), WaitResult::Ready);
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(b->InQueue(), 3);
}

TEST_F(VirtualLineTest, SeveralResultsAtOnceFollowTheOrder) {
  VirtualLine line(clock, {});
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*b, "abc"), WaitResult::Ready);
  testsupport::ExpectResultOrder(
      *a, kStart - 1, [&] { line.HangUp(); }, false);
}

TEST_F(VirtualLineTest, BurstsHandArrivedBytesOverAtTheNextBoundary) {
  VirtualLine line(clock, {.burst_ms_a = 16});
  auto a = line.Open(End::A);
  auto b = line.Open(End::B);
  ASSERT_EQ(Send(*b, "ab"), WaitResult::Ready);
  EXPECT_EQ(a->InQueue(), 0);
  EXPECT_EQ(b->InQueue(), 0);
  ASSERT_EQ(Send(*a, "xy"), WaitResult::Ready);
  EXPECT_EQ(b->InQueue(), 2);  // only A's side has the adapter
  EXPECT_EQ(a->WaitInput(1, kStart + 1000, none), WaitResult::Ready);
  EXPECT_EQ(clock.Now(), 1008u);  // the first multiple of 16 after 1000
  EXPECT_EQ(Take(*a), "ab");
  clock.Advance(1);
  ASSERT_EQ(Send(*b, "c"), WaitResult::Ready);
  EXPECT_EQ(a->WaitInput(1, kStart + 1000, none), WaitResult::Ready);
  EXPECT_EQ(clock.Now(), 1024u);
}

// Two threads answer each other over a paced line. Time only moves while
// both wait, so each leg takes exactly the line time of four bytes (2.08 ms,
// whole ticks: 3) however the threads are scheduled, and no wait times out.
TEST_F(VirtualLineTest, ParticipantsPingPongOnVirtualTime) {
  constexpr int kRounds = 20;
  VirtualLine line(clock, {false, false, 19200});
  std::latch registered(2);
  auto player = [&](End end, bool serves) {
    VirtualClock::Participant participant(clock);
    auto port = line.Open(end);
    registered.arrive_and_wait();
    for (int round = 0; round < kRounds; ++round) {
      if (serves) {
        ASSERT_EQ(Send(*port, "ping"), WaitResult::Ready);
      }
      ASSERT_EQ(port->WaitInput(4, Deadline(clock, 1000), none), WaitResult::Ready);
      ASSERT_EQ(Take(*port), serves ? "pong" : "ping");
      if (!serves) {
        ASSERT_EQ(Send(*port, "pong"), WaitResult::Ready);
      }
    }
  };
  std::thread b(player, End::B, false);
  player(End::A, true);
  b.join();
  EXPECT_EQ(clock.Now(), kStart + kRounds * 2 * 3);
}

}  // namespace
}  // namespace orgalink::platform
