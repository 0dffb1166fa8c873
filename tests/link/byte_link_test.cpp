// SPDX-License-Identifier: GPL-3.0-or-later
// The byte layer: echo checking, draining, aborts and time-outs.

#include <gtest/gtest.h>

#include "link/link_engine.h"
#include "support/line_fixture.h"
#include "support/transfer_peer.h"

namespace orgalink::link {
namespace {

using testsupport::Bytes;
using testsupport::FarEnd;
using testsupport::LineFixture;

const Bytes kAck = {0x7f, 0x06, 0x00, 0x00, 0x85};

TEST(WritePort, EchoThatNeverComesFailsAfterTenSeconds) {
  LineFixture f;
  f.UseLog();
  std::uint32_t elapsed = 0;
  const link::StepResult status =
      f.RunOpen([&] { return f.engine.SendCommand(ACK); }, {}, &elapsed);
  EXPECT_EQ(status, LinkIoError);
  EXPECT_EQ(status.cause.Text(), "the echo of the 5 bytes sent did not come within 10000 ms");
  EXPECT_GE(elapsed, 10000u);
  const std::string log = f.LogText();
  const auto sent = log.find(">>>>>>Send    [ 7f 06 00 00 85 ]\r\n");
  const auto timeout = log.find("---Time Out WaitTime=10001, InQue=   0/   5\r\n");
  const auto missing = log.find("!!!NOT Receive EchoBack\r\n\r\n");
  const auto failed = log.find("!!!Command Send Err\r\n\r\n");
  ASSERT_NE(sent, std::string::npos) << log;
  EXPECT_LT(sent, timeout);
  EXPECT_LT(timeout, missing);
  EXPECT_LT(missing, failed);
  EXPECT_EQ(failed + 23, log.size());
}

TEST(WritePort, EchoFromTheCablePassesAndAWrongEchoFails) {
  struct Case {
    Bytes echo;
    LinkStatus status;
    const char* cause;
  } cases[] = {{kAck, LinkOk, ""},
               {{0x7f, 0x06, 0x00, 0x01, 0x85},
                LinkIoError,
                "wrong echo of the bytes sent: expected 0x00, received 0x01"}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    const link::StepResult status = f.RunOpen([&] { return f.engine.SendCommand(ACK); },
                                              [&](FarEnd& far) {
                                                far.Receive(5);
                                                far.Send(c.echo);
                                              });
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(status.cause.Text(), c.cause);
    const bool mismatch = f.LogText().find("!!!NOT EchoBack\r\n\r\n") != std::string::npos;
    EXPECT_EQ(mismatch, c.status != LinkOk);
  }
}

TEST(WritePort, ALineEchoingEveryByteSatisfiesTheEchoCheck) {
  LineFixture f({.echo_a = true});
  const link::StepResult status = f.RunOpen([&] { return f.engine.SendCommand(NACK); });
  EXPECT_EQ(status, LinkOk);
}

TEST(WritePort, BytesTheOrganizerSentBeforeAWriteAreDiscarded) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult sent{link::LinkStatus{-1}}, waited{link::LinkStatus{-1}};
  f.Run(
      [&] {
        ASSERT_TRUE(f.engine.Link().OpenPort(1));
        f.engine.Link().WaitForAbortOrDeadline(
            f.engine.Link().Deadline(50));  // the stale bytes arrive
        sent = f.engine.SendCommand(ACK);
        waited = f.engine.WaitCommand(ACK);
      },
      [&](FarEnd& far) {
        far.Send({0x7f, 0x15, 0x00, 0x00, 0x94});  // stale NACK
        far.Receive(5);
        far.Send(kAck);
      });
  EXPECT_EQ(sent, LinkOk);
  EXPECT_EQ(waited, LinkOk);
  EXPECT_EQ(f.LogText().find("94 ]"), std::string::npos) << "the stale NACK was never read";
}

// The write waits until the line has been quiet for 10 ms, and not a tick
// longer; a byte from the organizer starts the quiet time again.
TEST(WritePort, GoesOutOnceTheLineHasBeenQuietForTenMilliseconds) {
  for (const bool stray : {false, true}) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    platform::Tick quiet_from = 0;
    platform::Tick written_at = 0;
    link::StepResult status{link::LinkStatus{-1}};
    f.Run(
        [&] {
          ASSERT_TRUE(f.engine.Link().OpenPort(1));
          quiet_from = f.clock.Now();
          status = f.engine.SendCommand(ACK);
        },
        [&](FarEnd& far) {
          if (stray) {
            far.Pause(5);
            far.Send({0x55});
            quiet_from = f.clock.Now();
          }
          far.Receive(5);
          written_at = f.clock.Now();
        });
    EXPECT_EQ(status, LinkOk);
    EXPECT_EQ(written_at - quiet_from, 10u) << (stray ? "after a stray byte" : "silent line");
  }
}

TEST(WritePort, TextWritesUpToItsEnd) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  Bytes seen;
  f.Run(
      [&] {
        ASSERT_TRUE(f.engine.Link().OpenPort(1));
        EXPECT_EQ(f.engine.Link().WritePort("AT"), LinkOk);
      },
      [&](FarEnd& far) { seen = far.Receive(3, 1000); });
  EXPECT_EQ(seen, (Bytes{'A', 'T'}));
}

// A block longer than the echo buffer is still compared byte for byte.
TEST(WritePort, EchoOfABlockLongerThanAFrameIsComparedWhole) {
  for (const bool corrupt : {false, true}) {
    LineFixture f({.echo_a = true});
    f.UseLog();
    f.line.SetFaultHook([corrupt](platform::VirtualLine::End, std::uint64_t index, std::uint8_t) {
      using Fault = platform::VirtualLine::Fault;
      return corrupt && index == 400 ? Fault{Fault::Kind::Replace, '?'} : Fault{};
    });
    const std::string text(600, 'T');
    bool written = false;
    f.Run([&] {
      ASSERT_TRUE(f.engine.Link().OpenPort(1));
      written = f.engine.Link().WritePort(text).Ok();
    });
    EXPECT_EQ(written, !corrupt);
    EXPECT_EQ(f.LogText().find("!!!NOT EchoBack") != std::string::npos, corrupt);
  }
}

// A stuck adapter that takes no bytes must not hold the write forever: it
// fails when the output should have left.
TEST(WritePort, ADeviceThatTakesNoBytesFailsAtTheSendDeadline) {
  LineFixture f;
  f.UseLog();
  f.line.StallWrites(platform::VirtualLine::End::A, true);
  std::uint32_t elapsed = 0;
  const link::StepResult status =
      f.RunOpen([&] { return f.engine.SendCommand(ACK); }, {}, &elapsed);
  EXPECT_EQ(status, LinkIoError);
  EXPECT_EQ(elapsed, 10u + 30001u);  // the quiet check, then the send deadline
  const std::string log = f.LogText();
  EXPECT_NE(log.find(">>>>>>!!!Send FAILED(Send Incomplete)\r\n\r\n"), std::string::npos) << log;
}

// A USB adapter hands received bytes over in bursts, here 16 ms apart. With
// a quiet window shorter than that gap, the pause before a burst passes for
// the end of the organizer's transmission; its late bytes then land in the
// echo of the closing NACK. A window wider than the gap waits them out.
TEST(WritePort, QuietWindowWiderThanTheAdapterBurstsKeepsTheEchoClean) {
  struct Case {
    long window;
    LinkStatus nack, end;
  } cases[] = {{10, LinkIoError, LinkIoError}, {20, LinkOk, LinkOk}};
  for (const auto& c : cases) {
    LineFixture f({.echo_a = true, .pacing_baud = 19200, .burst_ms_a = 16});
    f.UseLog();
    f.engine.Link().SetQuietWindow(c.window);
    link::StepResult nack{link::LinkStatus{-1}}, end{link::LinkStatus{-1}};
    f.RunOpen(
        [&] {
          nack = f.engine.SendCommand(NACK);
          end = f.engine.SendCommand(END_COMMUNICATION);
          return nack;
        },
        [&](FarEnd& far) { far.Send(Bytes(200, 0x41)); });  // still sending for 104 ms
    EXPECT_EQ(nack, c.nack) << c.window;
    EXPECT_EQ(end, c.end) << c.window;
    const bool mismatch = f.LogText().find("!!!NOT EchoBack") != std::string::npos;
    EXPECT_EQ(mismatch, c.nack != LinkOk) << c.window;
  }
}

TEST(ReadPort, TimeOutReportsWhatWasQueued) {
  LineFixture f;
  f.UseLog();
  bool result = true;
  f.Run(
      [&] {
        ASSERT_TRUE(f.engine.Link().OpenPort(1));
        std::uint8_t buffer[5];
        f.engine.Link().WaitForAbortOrDeadline(f.engine.Link().Deadline(20));
        result = f.engine.Link().ReadPort(buffer, f.engine.Link().Deadline(1000)).Ok();
      },
      [&](FarEnd& far) {
        far.Pause(15);
        far.Send({1, 2, 3});
      });
  EXPECT_FALSE(result);
  EXPECT_EQ(f.engine.Status(), LinkTimeout);
  EXPECT_NE(f.LogText().find("---Time Out WaitTime=01001, InQue=   3/   5\r\n"), std::string::npos);
}

TEST(ReadPort, AbortFlagStaysUntilTheNextPurge) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  f.AbortAt(f.clock.Now() + 50);
  f.Run([&] {
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    std::uint8_t byte;
    EXPECT_FALSE(f.engine.Link().ReadPort(std::span(&byte, 1), f.engine.Link().Deadline(30000)));
    EXPECT_TRUE(f.engine.Link().AbortFlag());
    // The closing NACK still goes out, as the driver sends it.
    const ByteLink::AbortShield closing(f.engine.Link());
    EXPECT_EQ(f.engine.SendCommand(NACK), LinkOk);
    EXPECT_FALSE(f.engine.Link().AbortFlag());
  });
}

// A device that is still busy with the write when the user aborts.
class BusyPort : public platform::SerialPort {
 public:
  explicit BusyPort(platform::CancelToken& abort) : abort_(abort) {}
  bool Purge(bool, bool) override { return true; }
  int InQueue() override { return 0; }
  int OutQueue() override { return 0; }
  int Read(std::uint8_t*, std::size_t) override { return 0; }
  platform::WaitResult Write(const std::uint8_t*, std::size_t, std::size_t&, platform::Tick,
                             const platform::CancelToken&) override {
    abort_.Set();
    return platform::WaitResult::Cancelled;
  }
  platform::WaitResult WaitInput(std::size_t, platform::Tick,
                                 const platform::CancelToken&) override {
    return platform::WaitResult::Timeout;
  }
  platform::WaitResult WaitInputFor(std::size_t, std::chrono::microseconds,
                                    const platform::CancelToken&) override {
    return platform::WaitResult::Timeout;
  }
  platform::WaitResult WaitOutputEmpty(platform::Tick, const platform::CancelToken&) override {
    return platform::WaitResult::Ready;
  }

 private:
  platform::CancelToken& abort_;
};

TEST(WritePort, AbortDuringTheWriteEndsWithIoError) {
  testsupport::TempDir dir;
  platform::CancelToken abort;
  LinkEngine engine;
  engine.Link().SetAbortToken(abort);
  engine.Log().SetFileName(dir.File("log"));
  engine.Link().SetPortOpener(
      [&abort](int, int, std::string&) { return std::make_unique<BusyPort>(abort); });
  ASSERT_TRUE(engine.Link().OpenPort(1));
  EXPECT_EQ(engine.SendCommand(ACK), LinkIoError);
  EXPECT_EQ(engine.Status(), LinkIoError);
  EXPECT_NE(testsupport::ReadFile(dir.File("log")).find(">>>>>>!!!Send FAILED\r\n\r\n"),
            std::string::npos);
}

// The write lasts until the bytes have left: 5 bytes at 1200 bit/s take 42 ms
// on the line, and an abort 20 ms in still finds the write in progress.
TEST(WritePort, AbortWhileTheBytesAreLeavingEndsWithIoError) {
  LineFixture f({.pacing_baud = 1200});
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  f.Run([&] {
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.AbortAt(f.clock.Now() + 20);
    status = f.engine.SendCommand(ACK);
  });
  EXPECT_EQ(status, LinkIoError);
  EXPECT_EQ(f.engine.Status(), LinkIoError);
  const std::string log = f.LogText();
  EXPECT_NE(log.find(">>>>>>!!!Send FAILED\r\n\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Send Incomplete"), std::string::npos) << log;
}

// Without a device there is nothing to wait for: the wait fails at once
// instead of looping, unblocked, until its deadline.
TEST(ReadPort, NoOpenPortFailsAtOnce) {
  testsupport::TempDir dir;
  LinkEngine engine;
  engine.Log().SetFileName(dir.File("log"));
  EXPECT_EQ(engine.WaitCommand(ACK, nullptr, nullptr, 200), LinkIoError);
  EXPECT_EQ(testsupport::CountOf(testsupport::ReadFile(dir.File("log")), "<<<<<<"), 1);
}

TEST(OpenPort, FailureStatusNamesThePort) {
  struct Case {
    int port;
    int status;  // a LinkStatus
  } cases[] = {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {0, 10}, {7, 10}};
  for (const auto& c : cases) {
    LinkEngine engine;
    engine.Link().SetPortOpener([](int, int, std::string& error) {
      error = "Device or resource busy";
      return std::unique_ptr<platform::SerialPort>();
    });
    EXPECT_FALSE(engine.Link().OpenPort(c.port));
    EXPECT_FALSE(engine.Link().IsPortOpen());
    EXPECT_EQ(engine.Status(), LinkStatus{c.status}) << c.port;
    EXPECT_EQ(engine.Link().OpenError(), "Device or resource busy");
  }
}

}  // namespace
}  // namespace orgalink::link
