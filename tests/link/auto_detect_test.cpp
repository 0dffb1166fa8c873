// SPDX-License-Identifier: GPL-3.0-or-later
// The port search: an organizer on COM3 behind two silent ports, no ports at
// all, and the user's abort.

#include "link/auto_detect.h"

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/transfer_peer.h"

namespace orgalink::link {
namespace {

using platform::VirtualLine;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;
using testsupport::LinesInOrder;

// COM1 and COM2 are lines on which nobody talks, COM3 the fixture's line
// with the organizer at its far end, COM4 does not exist.
struct PortRow : LineFixture {
  PortRow() {
    UseLog();
    engine.Link().SetEchoBack(false);
    engine.Link().SetPortOpener([this](int port, int, std::string& error) {
      std::unique_ptr<platform::SerialPort> opened;
      if (port == 1) opened = silent1.Open(VirtualLine::End::A);
      if (port == 2) opened = silent2.Open(VirtualLine::End::A);
      if (port == 3) opened = line.Open(VirtualLine::End::A);
      if (!opened) error = "No such file or directory";
      return opened;
    });
  }

  std::vector<std::uint32_t> Checking() const {
    std::vector<std::uint32_t> ports;
    for (const ProgressEvent& event : owner.reported()) {
      if (event.kind == ProgressKind::DetectChecking) ports.push_back(event.value);
    }
    return ports;
  }

  VirtualLine silent1{clock, {}};
  VirtualLine silent2{clock, {}};
};

// The organizer after its PC-LINK button: LINK_REQUEST every second until a
// PC answers, then DEVICE_INFORMATION; it returns what the PC sent next.
std::vector<Bytes> PlayOrganizer(FarEnd& far) {
  std::vector<Bytes> seen;
  for (int offers = 0; offers < 60; ++offers) {
    far.SendCommand(LINK_REQUEST);
    if (far.Receive(5, 1000) == CommandFrame(ACK)) break;
  }
  far.SendCommand(DEVICE_INFORMATION, 0, 2);
  seen.push_back(far.ReceiveCommand());
  seen.push_back(far.ReceiveCommand());
  return seen;
}

TEST(AutoDetect, FindsTheOrganizerOnCom3BehindTwoSilentPorts) {
  PortRow f;
  StepResult result{LinkStatus{-1}};
  std::vector<Bytes> seen;
  std::uint32_t elapsed = 0;
  f.Run([&] { elapsed = f.Elapsed([&] { result = AutoDetect(f.engine, &f.owner); }); },
        [&](FarEnd& far) { seen = PlayOrganizer(far); });
  EXPECT_EQ(result.status, LinkFoundCom3);
  EXPECT_EQ(f.engine.Status(), LinkFoundCom3);
  EXPECT_FALSE(f.engine.Link().IsPortOpen());
  EXPECT_EQ(f.Checking(), (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(seen, (std::vector<Bytes>{CommandFrame(GET_DEVICE_INFORMATION),
                                      CommandFrame(END_COMMUNICATION)}));
  // Three pauses, two silent ports and the variant probe's second.
  EXPECT_GE(elapsed, 3 * 500u + 2 * 3000u + 1000u);
  EXPECT_LT(elapsed, 3 * 500u + 3 * 3000u + 1000u);
  const std::string log = f.LogText();
  EXPECT_TRUE(
      LinesInOrder(log, {"========== Start AutoDetect ==========\n\n", "COM1 Pass (NO Response)\n",
                         "COM2 Pass (NO Response)\n", "---PC receives LinkRequest\n\n",
                         "---HDD is PELLICO\n\n", "========== End Negotiation ==========\n\n",
                         "---PC receives LinkRequest\n\n", "---PC sends END_COMMUNICATION\n\n",
                         "---PC Detected on COM3\n\n", "========== End AutoDetect ==========\n\n"}))
      << log;
}

TEST(AutoDetect, WithoutPortsGivesUpAfterFiveSweeps) {
  PortRow f;
  f.engine.Link().SetPortOpener([](int port, int, std::string& error) {
    if (port != 2) error = "No such file or directory";
    return nullptr;
  });
  StepResult result{LinkStatus{-1}};
  std::uint32_t elapsed = 0;
  f.Run([&] { elapsed = f.Elapsed([&] { result = AutoDetect(f.engine, &f.owner); }); });
  EXPECT_EQ(result.status, LinkNotDetected);
  EXPECT_EQ(f.engine.Status(), LinkNotDetected);
  EXPECT_EQ(f.Checking().size(), 20u);
  // A port whose opener gave no reason still has its line.
  EXPECT_EQ(result.cause.Text(),
            "opening the ports: COM1: No such file or directory; COM2: cannot be opened; "
            "COM3: No such file or directory; COM4: No such file or directory");
  // Nothing but the 500 ms pauses, which sleep on the clock.
  EXPECT_GE(elapsed, 20 * 500u);
  EXPECT_LT(elapsed, 20 * 500u + 100u);
  const std::string log = f.LogText();
  for (const char* port : {"COM1", "COM2", "COM3", "COM4"}) {
    EXPECT_EQ(testsupport::CountOf(log, InLog(std::string(port) + " Pass (NOT Open)\n")), 5);
  }
  EXPECT_NE(log.find(InLog("========== End AutoDetect ==========\n\n")), std::string::npos);
}

// Ports that open but stay silent are named, so that the user knows the
// line was there and the organizer was not waiting.
TEST(AutoDetect, ASearchThatFindsNothingNamesTheSilentPorts) {
  PortRow f;
  StepResult result{LinkStatus{-1}};
  f.Run([&] { result = AutoDetect(f.engine, &f.owner); });
  EXPECT_EQ(result.status, LinkNotDetected);
  EXPECT_EQ(result.cause.Type(), Cause::Kind::TimedOut);
  EXPECT_EQ(result.cause.Text(), "LINK_REQUEST on COM1, COM2, COM3 did not come within 3000 ms");
}

// The Auto Detect dialog's cancel button sets the engine's abort token.
// Between ports the search notices it itself; during a negotiation the
// negotiation ends with the abort.
TEST(AutoDetect, AnAbortEndsTheSearchAtOnceWith12) {
  const struct {
    const char* name;
    std::uint32_t at;  // ms after the start
    std::vector<std::uint32_t> checking;
    bool abortLine;
  } cases[] = {{"during the first pause", 200, {}, true},
               {"while COM1 is tried", 1500, {1}, false},
               {"during the second pause", 3700, {1}, true}};
  for (const auto& c : cases) {
    PortRow f;
    StepResult result{LinkStatus{-1}};
    std::uint32_t elapsed = 0;
    f.AbortAt(f.clock.Now() + c.at);
    f.Run([&] { elapsed = f.Elapsed([&] { result = AutoDetect(f.engine, &f.owner); }); });
    EXPECT_EQ(result.status, LinkNotDetected) << c.name;
    EXPECT_EQ(result.cause.Type(), Cause::Kind::Aborted) << c.name;
    EXPECT_EQ(f.engine.Status(), LinkNotDetected) << c.name;
    EXPECT_FALSE(f.engine.Link().IsPortOpen()) << c.name;
    EXPECT_LE(elapsed, c.at + 1) << c.name;
    EXPECT_EQ(f.Checking(), c.checking) << c.name;
    const std::string log = f.LogText();
    EXPECT_EQ(log.find(InLog("!!!Abort(AutoDetect)\n\n")) != std::string::npos, c.abortLine)
        << c.name << log;
    EXPECT_NE(log.find(InLog("========== End AutoDetect ==========\n\n")), std::string::npos)
        << c.name;
  }
}

}  // namespace
}  // namespace orgalink::link
