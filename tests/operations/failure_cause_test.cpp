// SPDX-License-Identifier: GPL-3.0-or-later
// What a failed run hands its front end as the cause: what the failing step
// found, with or without a log, and nothing of the closing NACK and
// END_COMMUNICATION, which fail as well on a dead line.

#include <gtest/gtest.h>

#include "operations/run_communication.h"
#include "support/line_fixture.h"

namespace orgalink::operations {

using namespace link;
namespace {

using testsupport::FarEnd;
using testsupport::LineFixture;

TEST(FailureCause, IsWhatTheFailingStepFoundBeforeTheClosingCommands) {
  const struct Case {
    const char* name;
    std::uint8_t mode;
    bool echo;
    bool portOpens;
    LinkStatus status;
    Cause::Kind kind;
    std::string text;
  } cases[] = {
      {"silence", 10, false, true, LinkTimeout, Cause::Kind::TimedOut,
       "a command did not come within 30000 ms"},
      // The cable does not return the bytes: every send fails, the closing
      // ones too, which must not bury the reason.
      {"no echo", 11, true, true, LinkIoError, Cause::Kind::TimedOut,
       "the echo of the 5 bytes sent did not come within 10000 ms"},
      {"no port", 11, false, false, LinkPortErrorCom1, Cause::Kind::System,
       "opening the port: Device or resource busy"},
  };
  for (const Case& c : cases) {
    LineFixture f;  // the far end never echoes
    f.engine.Link().SetEchoBack(c.echo);
    f.engine.Link().SetComPort(1);
    if (!c.portOpens) {
      f.engine.Link().SetPortOpener([](int, int, std::string& error) {
        error = "Device or resource busy";
        return std::unique_ptr<platform::SerialPort>();
      });
    }
    StepResult result;
    f.Run([&] { result = RunCommunication(f.run, f.owner.Front(), settings::RunMode{c.mode}); },
          [&](FarEnd& far) {
            if (c.portOpens) far.Receive(15);
          });
    EXPECT_EQ(result, c.status) << c.name;
    EXPECT_EQ(result.cause.Type(), c.kind) << c.name;
    EXPECT_EQ(result.cause.Text(), c.text) << c.name;
  }
}

TEST(FailureCause, NoiseIsNoCauseAndASuccessHasNone) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  StepResult result;
  f.Run([&] { result = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendAck); },
        [&](FarEnd& far) {
          far.Receive(5);
          far.Send({0x41, 0x42, 0x43});
        });
  EXPECT_EQ(result, LinkTimeout);
  EXPECT_EQ(result.cause, Cause::TimedOut("a command", 30000));
  f.Run([&] { result = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendNack); },
        [&](FarEnd& far) { far.Receive(5); });
  EXPECT_EQ(result, LinkOk);
  EXPECT_TRUE(result.cause.Empty());
}

}  // namespace
}  // namespace orgalink::operations
