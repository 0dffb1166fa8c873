// SPDX-License-Identifier: GPL-3.0-or-later
// The driver: RunModes 10 to 12, unknown RunModes, and the failure path.

#include "operations/run_communication.h"

#include <gtest/gtest.h>

#include "link/link_engine.h"
#include "support/line_fixture.h"

namespace orgalink::operations {

using namespace link;
namespace {

using testsupport::Bytes;
using testsupport::FarEnd;
using testsupport::LineFixture;

const Bytes kNackThenEnd = {0x7f, 0x15, 0x00, 0x00, 0x94, 0x7f, 0x09, 0x00, 0x00, 0x88};

TEST(RunCommunication, SingleCommandModesSendTheirFrameAndReportSuccess) {
  struct Case {
    std::uint8_t mode;
    Bytes frame;
    const char* text;
  } cases[] = {{11, {0x7f, 0x15, 0x00, 0x00, 0x94}, "SUCCESS send NACK"},
               {12, {0x7f, 0x09, 0x00, 0x00, 0x88}, "SUCCESS send END_COMMUNICATION"}};
  for (const auto& c : cases) {
    LineFixture f({.echo_a = true});
    f.UseLog();
    link::StepResult status{link::LinkStatus{-1}};
    Bytes seen;
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode{c.mode}); },
          [&](FarEnd& far) { seen = far.Receive(5); });
    EXPECT_EQ(status, LinkOk);
    EXPECT_EQ(seen, c.frame);
    EXPECT_EQ(f.owner.shown(), std::vector<std::string>{c.text});
    EXPECT_FALSE(f.engine.Link().IsPortOpen());
    const std::string log = f.LogText();
    EXPECT_EQ(log.rfind("##### END COMMUNICATION #####\r\n\r\n"),
              log.size() - std::string("##### END COMMUNICATION #####\r\n\r\n").size());
  }
}

TEST(RunCommunication, AckModeWaitsForAnyCommand) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendAck); },
        [&](FarEnd& far) {
          far.Receive(5);
          far.SendCommand(END_COMMUNICATION);
        });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(f.owner.shown(), std::vector<std::string>{"SUCCESS send ACK"});
}

TEST(RunCommunication, DeleteAllModeAddressesTheCurrentApplication) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  SetAppliMode(f.run, "Telephone");
  link::StepResult status{link::LinkStatus{-1}};
  Bytes seen;
  f.Run(
      [&] {
        status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::DeleteAllRecords);
      },
      [&](FarEnd& far) {
        seen = far.Receive(5);
        far.SendCommand(ACK);
      });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(seen, (Bytes{0x7f, 0x0b, 0x05, 0x00, 0x8f}));
  EXPECT_EQ(f.owner.shown(), std::vector<std::string>{"SUCCESS DELETE_ALL_RECORDS"});
}

TEST(RunCommunication, FailuresEndWithNackAndEndCommunication) {
  struct Case {
    std::uint8_t mode;
    const char* logLine;
  } cases[] = {{19, "Unknown RunMode\r\n\r\n"},
               {255, "Unknown RunMode\r\n\r\n"},
               {10, "!!!Time Out(Wait Command) Break\r\n\r\n"}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    link::StepResult status{link::LinkStatus{-1}};
    Bytes seen;
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode{c.mode}); },
          [&](FarEnd& far) {
            if (c.mode == 10) far.Receive(5);  // the ACK, left unanswered
            seen = far.Receive(10);
          });
    EXPECT_EQ(status, c.mode == 10 ? LinkTimeout : LinkIoError);
    EXPECT_EQ(seen, kNackThenEnd);
    EXPECT_TRUE(f.owner.shown().empty());
    EXPECT_FALSE(f.engine.Link().IsPortOpen());
    const std::string log = f.LogText();
    const auto failure = log.find(c.logLine);
    const auto nack = log.find("---PC sends NACK\r\n\r\n");
    const auto end = log.find("---PC sends END_COMMUNICATION\r\n\r\n");
    ASSERT_NE(failure, std::string::npos) << log;
    EXPECT_LT(failure, nack) << log;
    EXPECT_LT(nack, end) << log;
    EXPECT_NE(end, std::string::npos) << log;
    EXPECT_EQ(log.find("##### END COMMUNICATION"), std::string::npos);
  }
}

// A double click on Abort, or two quick Ctrl-C, must not cost the organizer
// its goodbye: however many requests come, and whenever, NACK and
// END_COMMUNICATION still go out.
TEST(RunCommunication, RepeatedAbortsStillSendNackAndEndCommunication) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> at;  // ms after the start
  } cases[] = {{"together", {100, 100}},
               {"the second while NACK waits for a quiet line", {100, 105}},
               {"one more while END_COMMUNICATION does", {100, 105, 115}}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    for (const std::uint32_t ms : c.at) f.AbortAt(f.clock.Now() + ms);
    link::StepResult status{link::LinkStatus{-1}};
    Bytes seen;
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendAck); },
          [&](FarEnd& far) {
            far.Receive(5);  // the ACK, left unanswered
            seen = far.Receive(10);
          });
    EXPECT_EQ(status, LinkAborted) << c.name;
    EXPECT_EQ(seen, kNackThenEnd) << c.name;
    const std::string log = f.LogText();
    EXPECT_NE(log.find(">>>>>>Send    [ 7f 15 00 00 94 ]"), std::string::npos) << c.name << log;
    EXPECT_NE(log.find(">>>>>>Send    [ 7f 09 00 00 88 ]"), std::string::npos) << c.name << log;
  }
}

TEST(RunCommunication, PortThatCannotBeOpenedReturnsItsPortStatus) {
  struct Case {
    int port;
    int status;  // a LinkStatus
  } cases[] = {{3, 8}, {0, 10}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetComPort(c.port);
    f.engine.Link().SetPortOpener(
        [](int, int, std::string&) { return std::unique_ptr<platform::SerialPort>(); });
    link::StepResult status{link::LinkStatus{-1}};
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendNack); });
    EXPECT_EQ(status, LinkStatus{c.status});
    const std::string log = f.LogText();
    EXPECT_NE(log.find("!!!Can't Open COM Port\r\n\r\n"), std::string::npos);
    EXPECT_NE(log.find(">>>>>>!!!Send FAILED(Receive Incomplete)\r\n\r\n"), std::string::npos);
    EXPECT_NE(log.find("---PC sends END_COMMUNICATION\r\n\r\n"), std::string::npos);
  }
}

TEST(RunCommunication, NeedsAStoreAndAFrontEnd) {
  LineFixture f;
  f.UseLog();
  EXPECT_EQ(RunCommunication(f.run, {}, settings::RunMode::SendNack), LinkIoError);
  EXPECT_EQ(RunCommunication(f.run, {&f.owner, nullptr}, settings::RunMode::SendNack), LinkIoError);
  EXPECT_EQ(RunCommunication(f.run, {nullptr, &f.owner}, settings::RunMode::SendNack), LinkIoError);
  f.run.store = nullptr;
  EXPECT_EQ(RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendNack), LinkIoError);
  EXPECT_EQ(f.LogText(), "");
}

// Against a silent organizer every RunMode of the table runs its own steps;
// none is left out.
TEST(RunCommunication, EveryRunModeOfTheTableIsBuilt) {
  for (std::uint8_t mode = 0; mode <= 18; ++mode) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    f.run.dumpDirectory = f.dir.path().string();
    f.Run([&] { RunCommunication(f.run, f.owner.Front(), settings::RunMode{mode}); });
    EXPECT_EQ(f.LogText().find("Not Available"), std::string::npos) << int{mode};
  }
}

}  // namespace
}  // namespace orgalink::operations
