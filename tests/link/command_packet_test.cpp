// SPDX-License-Identifier: GPL-3.0-or-later
// Command frames on the line and the command wait, against a scripted far end.

#include <gtest/gtest.h>

#include <cerrno>

#include "link/link_engine.h"
#include "support/line_fixture.h"
#include "support/outlandish_timeouts.h"
#include "support/pty_engine.h"
#include "support/transfer_peer.h"

namespace orgalink::link {
namespace {

using testsupport::Bytes;
using testsupport::CountOf;
using testsupport::FarEnd;
using testsupport::LineFixture;

TEST(SendCommand, PutsTheExactFramesOnTheLine) {
  struct Case {
    int code, p1, p2, deviceCode;
    Bytes frame;
  } cases[] = {
      {ACK, 0, 0, 2, {0x7f, 0x06, 0x00, 0x00, 0x85}},
      {END_COMMUNICATION, 0, 0, 2, {0x7f, 0x09, 0x00, 0x00, 0x88}},
      {NACK, 0, 0, 2, {0x7f, 0x15, 0x00, 0x00, 0x94}},
      {GET_DEVICE_INFORMATION, 0, 0, 2, {0x7f, 0x10, 0x00, 0x00, 0x8f}},
      {DEVICE_INFORMATION, 9, 9, 2, {0x7f, 0x08, 0x00, 0x02, 0x89}},
      {DEVICE_INFORMATION, 0, 0, 1, {0x7f, 0x08, 0x00, 0x01, 0x88}},
      {DELETE_ALL_RECORDS, 5, 0, 2, {0x7f, 0x0b, 0x05, 0x00, 0x8f}},
      {DELETE_ALL_RECORDS, 0xff, 0, 2, {0x7f, 0x0b, 0xff, 0x00, 0x89}},
      {GET_ALL_RECORDS, 5, 0, 2, {0x7f, 0x0c, 0x05, 0x00, 0x90}},
      {ACK, 3, 4, 2, {0x7f, 0x06, 0x00, 0x00, 0x85}},  // ACK never carries parameters
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    f.engine.SetDeviceCode(c.deviceCode);
    link::StepResult status{link::LinkStatus{-1}};
    Bytes seen;
    f.Run(
        [&] {
          ASSERT_TRUE(f.engine.Link().OpenPort(1));
          status = f.engine.SendCommand(c.code, c.p1, c.p2);
        },
        [&](FarEnd& far) { seen = far.Receive(5); });
    EXPECT_EQ(status, LinkOk) << c.code;
    EXPECT_EQ(seen, c.frame) << c.code;
  }
}

TEST(SendCommand, RefusesCodesWithoutACommandAndWritesNothing) {
  for (int code : {7, 17, 20, 4, 22}) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    link::StepResult status{link::LinkStatus{-1}};
    f.Run([&] {
      ASSERT_TRUE(f.engine.Link().OpenPort(1));
      f.engine.SetStatus(LinkTimeout, -1);
      status = f.engine.SendCommand(code);
    });
    EXPECT_EQ(status, LinkAborted) << code;
    EXPECT_EQ(f.engine.Status(), LinkTimeout) << "status left as it was";
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 0u);
    EXPECT_NE(f.LogText().find("!!!Command Send Err(Unknown Command)\r\n\r\n"), std::string::npos);
  }
}

struct WaitCase {
  const char* name;
  Bytes incoming;
  int expected;
  LinkStatus status;
  const char* logLine;
  const char* cause;  // what the failure tells the user; "" for success
};

class WaitCommandTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitCommandTest, AnswersWhatArrives) {
  const WaitCase& c = GetParam();
  LineFixture f;
  f.UseLog();
  link::StepResult status{link::LinkStatus{-1}};
  std::uint8_t params[2] = {0, 0};
  std::uint8_t code = 0;
  f.Run(
      [&] {
        ASSERT_TRUE(f.engine.Link().OpenPort(1));
        status = f.engine.WaitCommand(c.expected, params, &code);
      },
      [&](FarEnd& far) {
        far.Pause(20);  // after the PC opened (and purged) its port
        far.Send(c.incoming);
      });
  EXPECT_EQ(status, c.status);
  EXPECT_EQ(f.engine.Status(), c.status);
  EXPECT_EQ(status.cause.Text(), c.cause);
  EXPECT_NE(f.LogText().find(c.logLine), std::string::npos) << f.LogText();
}

INSTANTIATE_TEST_SUITE_P(Cases, WaitCommandTest,
                         ::testing::Values(WaitCase{"StrayBytesThenAck",
                                                    {0x00, 0xff, 0x7f, 0x06, 0x00, 0x00, 0x85},
                                                    ACK,
                                                    LinkOk,
                                                    "!!!NOT Command (Wait Command)\r\n{",
                                                    ""},
                                           WaitCase{"NackInsteadOfAck",
                                                    {0x7f, 0x15, 0x00, 0x00, 0x94},
                                                    ACK,
                                                    LinkIoError,
                                                    "!!!---PC receives NACK\r\n\r\n",
                                                    "the organizer sent NACK where ACK was "
                                                    "expected"},
                                           WaitCase{"AnotherCommand",
                                                    {0x7f, 0x09, 0x00, 0x00, 0x88},
                                                    ACK,
                                                    LinkIoError,
                                                    "!!!Another Command\r\n\r\n",
                                                    "the organizer sent END_COMMUNICATION where "
                                                    "ACK was expected"},
                                           WaitCase{"BadChecksum",
                                                    {0x7f, 0x06, 0x00, 0x00, 0x86},
                                                    ACK,
                                                    LinkIoError,
                                                    "!!!Checksum Err\r\n\r\n",
                                                    "wrong checksum of a command: expected 0x85, "
                                                    "received 0x86"},
                                           WaitCase{"AnyCommandRefusesGetDeviceInformation",
                                                    {0x7f, 0x10, 0x00, 0x00, 0x8f},
                                                    AnyCommand,
                                                    LinkIoError,
                                                    "!!!NOT Command (Wait Command2)\r\n\r\n",
                                                    "wrong command code: received 0x10"},
                                           WaitCase{"AnyCommandTakesDeleteAll",
                                                    {0x7f, 0x0b, 0x03, 0x00, 0x8d},
                                                    AnyCommand,
                                                    LinkOk,
                                                    "<<<<<<Receive1 [ 0b 03 00 8d ]",
                                                    ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaitCommand, StrayBytesAreLoggedOnceEachAndParametersComeOut) {
  LineFixture f;
  f.UseLog();
  std::uint8_t params[2] = {0, 0};
  std::uint8_t code = 0;
  const link::StepResult status =
      f.RunOpen([&] { return f.engine.WaitCommand(AnyCommand, params, &code); },
                [&](FarEnd& far) {
                  far.Pause(20);
                  far.Send({0x00, 0xff, 0x7f, 0x0c, 0x05, 0x00, 0x90});
                });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(code, GET_ALL_RECORDS);
  EXPECT_EQ(params[0], 5);
  EXPECT_EQ(params[1], 0);
  EXPECT_EQ(CountOf(f.LogText(), "!!!NOT Command (Wait Command)\r\n"), 2);
}

TEST(WaitCommand, TimesOutOnTheOverallDeadlineWithoutMultiplier) {
  LineFixture f;
  f.UseLog();
  std::uint32_t elapsed = 0;
  const link::StepResult status =
      f.RunOpen([&] { return f.engine.WaitCommand(ACK); }, {}, &elapsed);
  EXPECT_EQ(status, LinkTimeout);
  EXPECT_EQ(elapsed, 30001u);
  const std::string log = f.LogText();
  EXPECT_NE(log.find("---Time Out WaitTime=30001, InQue=   0/   1\r\n{"), std::string::npos);
  EXPECT_NE(log.find("!!!Time Out(Wait Command) Break\r\n\r\n"), std::string::npos);
}

TEST(WaitCommand, MultiplierGivesEachAttemptItsOwnFirstByteTime) {
  LineFixture f;
  f.UseLog();
  f.engine.SetTimeouts(30000, 30000, 100);
  std::uint32_t elapsed = 0;
  const link::StepResult status =
      f.RunOpen([&] { return f.engine.WaitCommand(ACK); }, {}, &elapsed);
  EXPECT_EQ(status, LinkTimeout);
  // Three attempts of 10 100 ms each: the overall deadline is only tested between them.
  EXPECT_EQ(CountOf(f.LogText(), "---Time Out WaitTime=10101"), 3);
  EXPECT_EQ(elapsed, 3 * 10101u);
}

TEST(WaitCommand, OutlandishTimeOutsStillWaitForTheAnswer) {
  for (const auto& c : testsupport::kOutlandishTimeouts) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    f.engine.SetTimeouts(c.timeout, 30000, c.multiplier);
    const link::StepResult status = f.RunOpen([&] { return f.engine.WaitCommand(ACK); },
                                              [&](FarEnd& far) {
                                                far.Pause(500);
                                                far.SendCommand(ACK);
                                              });
    EXPECT_EQ(status, LinkOk) << c.timeout << "/" << c.multiplier;
  }
}

// The same on a real termios device, whose waits turn deadlines into poll()
// time-outs.
TEST(WaitCommand, OutlandishTimeOutsStillWaitForTheAnswerOnAPseudoTerminal) {
  for (const auto& c : testsupport::kOutlandishTimeouts) {
    testsupport::PtyEngine p;
    p.engine.SetTimeouts(c.timeout, 30000, c.multiplier);
    const link::StepResult status =
        p.RunAnswered([&] { return p.engine.WaitCommand(ACK); }, testsupport::CommandFrame(ACK));
    EXPECT_EQ(status, LinkOk) << c.timeout << "/" << c.multiplier;
  }
}

TEST(WaitCommand, IncompleteFrameWithMultiplierTimesOutOnItsRemainder) {
  LineFixture f;
  f.UseLog();
  f.engine.SetTimeouts(30000, 30000, 100);
  const link::StepResult status = f.RunOpen([&] { return f.engine.WaitCommand(ACK); },
                                            [&](FarEnd& far) {
                                              far.Pause(20);
                                              far.Send({0x7f, 0x06});
                                            });
  EXPECT_EQ(status, LinkTimeout);
  const std::string log = f.LogText();
  EXPECT_NE(log.find("---Time Out WaitTime=00401, InQue=   1/   4\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("!!!No Receive(Remains of Command)\r\n\r\n"), std::string::npos);
}

TEST(WaitCommand, ADeadLineEndsTheWaitAtOnce) {
  LineFixture f;
  std::uint32_t elapsed = 0;
  const link::StepResult status = f.RunOpen([&] { return f.engine.WaitCommand(ACK); },
                                            [&](FarEnd& far) {
                                              far.Pause(100);
                                              f.line.HangUp();
                                            },
                                            &elapsed);
  EXPECT_EQ(status, LinkIoError);
  EXPECT_LT(elapsed, 200u);
  // The user hears the system's reason, not merely that the port failed.
  EXPECT_EQ(status.cause.Error(), EIO);
  EXPECT_EQ(status.cause.Text(), "receiving from the port: Input/output error");
}

TEST(WaitCommand, AbortWhileReadingEndsWithZero) {
  LineFixture f;
  f.UseLog();
  link::StepResult status{link::LinkStatus{-1}};
  f.AbortAt(f.clock.Now() + 100);
  f.Run([&] {
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    status = f.engine.WaitCommand(ACK);
  });
  EXPECT_EQ(status, LinkAborted);
  EXPECT_EQ(f.engine.Status(), LinkAborted);
  EXPECT_TRUE(f.engine.Link().AbortFlag());
  EXPECT_NE(f.LogText().find("<<<<<<!!!NO Receive(Wait Receive Queue Abort)\r\n\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace orgalink::link
