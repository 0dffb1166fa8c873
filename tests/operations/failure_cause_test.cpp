// What a failed run hands its front end as the cause: the engine's failure
// lines up to the failure, with or without a log, and none of the lines the
// closing NACK and END_COMMUNICATION add.

#include <gtest/gtest.h>

#include "operations/run_communication.h"
#include "support/line_fixture.h"

namespace orgalink::operations {

using namespace link;
namespace {

using testsupport::FarEnd;
using testsupport::LineFixture;

TEST(FailureCause, IsWhatTheEngineNotedBeforeTheClosingCommands) {
  const struct Case {
    const char* name;
    std::uint8_t mode;
    bool echo;
    bool portOpens;
    LinkStatus status;
    std::vector<std::string> cause;
  } cases[] = {
      {"silence", 10, false, true, LinkTimeout, {"Time Out(Wait Command) Break"}},
      // The cable does not return the bytes: every send fails, the closing
      // ones too, which must not bury the reason.
      {"no echo", 11, true, true, LinkIoError, {"NOT Receive EchoBack", "Command Send Err"}},
      {"no port", 11, false, false, LinkPortErrorCom1, {"Can't Open COM Port"}},
  };
  for (const Case& c : cases) {
    LineFixture f;  // the far end never echoes
    f.engine.SetEchoBack(c.echo);
    f.engine.SetComPort(1);
    if (!c.portOpens) {
      f.engine.SetPortOpener(
          [](int, int, std::string&) { return std::unique_ptr<platform::SerialPort>(); });
    }
    LinkStatus status{-1};
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), RunMode{c.mode}); },
          [&](FarEnd& far) {
            if (c.portOpens) far.Receive(15);
          });
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(f.run.failureCause, c.cause) << c.name;
  }
}

TEST(FailureCause, RepeatedNoiseIsNotedOnceAndASuccessForgetsIt) {
  LineFixture f;
  f.engine.SetEchoBack(false);
  LinkStatus status{-1};
  f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), RunMode::SendAck); },
        [&](FarEnd& far) {
          far.Receive(5);
          far.Send({0x41, 0x42, 0x43});
        });
  EXPECT_EQ(status, LinkTimeout);
  EXPECT_EQ(f.run.failureCause, (std::vector<std::string>{"NOT Command (Wait Command)",
                                                          "Time Out(Wait Command) Break"}));
  f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), RunMode::SendNack); },
        [&](FarEnd& far) { far.Receive(5); });
  EXPECT_EQ(status, LinkOk);
  EXPECT_TRUE(f.run.failureCause.empty());
  EXPECT_TRUE(f.engine.FailureNotes().empty());
}

}  // namespace
}  // namespace orgalink::operations
