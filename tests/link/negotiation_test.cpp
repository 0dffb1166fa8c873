// SPDX-License-Identifier: GPL-3.0-or-later
// The opening handshake against a scripted organizer, and the organizer's
// side against a scripted PC.

#include "link/negotiation.h"

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/transfer_peer.h"

namespace orgalink::link {
namespace {

using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;

// The organizer: LINK_REQUEST, then DEVICE_INFORMATION (low, high) after the
// PC's ACK, and optionally an answer to the variant probe.
struct Organizer {
  std::uint8_t low = 0;
  std::uint8_t high = 2;
  bool answersProbe = false;

  void Play(FarEnd& far, std::vector<Bytes>& seen) const {
    far.SendCommand(LINK_REQUEST);
    seen.push_back(far.ReceiveCommand());
    far.SendCommand(DEVICE_INFORMATION, low, high);
    seen.push_back(far.ReceiveCommand());
    // An M answers with parameters of its own; they are not looked at.
    if (answersProbe) far.SendCommand(DEVICE_INFORMATION, 7, 7);
    // Whatever else the PC sends within 2 s.
    Bytes more = far.Receive(1, 2000);
    if (!more.empty()) seen.push_back(more);
  }
};

struct VariantCase {
  const char* name;
  Organizer organizer;
  LinkStatus status;
  int variant;
  std::vector<std::string> lines;  // the log lines that tell the outcome, in order
};

class NegotiationVariant : public ::testing::TestWithParam<VariantCase> {};

TEST_P(NegotiationVariant, FollowsTheVariantTable) {
  const VariantCase& c = GetParam();
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  std::vector<Bytes> seen;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = Negotiation(f.engine, &f.owner, 30000, -1); },
        [&](FarEnd& far) { c.organizer.Play(far, seen); });
  EXPECT_EQ(status, c.status);
  EXPECT_EQ(f.engine.Status(), c.status);
  const std::string log = f.LogText();
  EXPECT_TRUE(testsupport::LinesInOrder(log, c.lines)) << log;
  if (c.status == LinkOk) {
    EXPECT_EQ(f.engine.ModelVariant(), c.variant);
    EXPECT_NE(log.find(InLog("========== End Negotiation ==========\n\n")), std::string::npos);
  } else {
    EXPECT_EQ(log.find("End Negotiation"), std::string::npos);
  }
  ASSERT_GE(seen.size(), 1u);
  EXPECT_EQ(seen[0], CommandFrame(ACK));
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, NegotiationVariant,
    ::testing::Values(
        VariantCase{"E",
                    {0, 2, false},
                    LinkOk,
                    0,
                    {"---PC sends GET_DEVICE_INFORMATION\n\n", "---Time Out WaitTime=",
                     "!!!Time Out(Wait Command) Break\n\n", "---HDD is PELLICO\n\n"}},
        VariantCase{"EPlus",
                    {1, 2, false},
                    LinkOk,
                    2,
                    {"!!!Time Out(Wait Command) Break\n\n", "---HDD is PELLICO\n\n"}},
        VariantCase{"M",
                    {1, 2, true},
                    LinkOk,
                    1,
                    {"---PC sends GET_DEVICE_INFORMATION\n\n",
                     "---PC receives DEVICE_INFORMATION\n", "---HDD is PELLICOM\n\n"}},
        VariantCase{"EAnsweringTheProbe",
                    {0, 2, true},
                    LinkIoError,
                    0,
                    {"---PC sends GET_DEVICE_INFORMATION\n\n", "!!!Another Device Code\n\n"}},
        VariantCase{"UnknownLow",
                    {2, 2, false},
                    LinkIoError,
                    0,
                    {"---PC receives DEVICE_INFORMATION\n\n", "!!!Another Device Code(Low)\n\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Negotiation, ProbesTheVariantWithGetDeviceInformationOnlyAfterAValidAnswer) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  std::vector<Bytes> seen;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { EXPECT_EQ(Negotiation(f.engine, &f.owner, 30000, -1), LinkOk); },
        [&](FarEnd& far) {
          Organizer{0, 2, false}.Play(far, seen);
        });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], (Bytes{0x7F, 0x10, 0x00, 0x00, 0x8F}));
}

TEST(Negotiation, RefusesAnOrganizerOfAnotherDeviceCodeAndSendsNothingMore) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  f.engine.SetDeviceCode(1);
  link::StepResult status{link::LinkStatus{-1}};
  Bytes after;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = Negotiation(f.engine, &f.owner, 30000, -1); },
        [&](FarEnd& far) {
          far.SendCommand(LINK_REQUEST);
          far.ReceiveCommand();
          far.SendCommand(DEVICE_INFORMATION, 0, 2);
          after = far.Receive(1, 5000);
        });
  EXPECT_EQ(status, LinkIoError);
  EXPECT_TRUE(after.empty());
  EXPECT_NE(f.LogText().find(InLog("!!!Another Device Code(High)\n\n")), std::string::npos);
}

TEST(Negotiation, TimesOutWithoutLinkRequestAndTellsTheOwnerItIsWaiting) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  platform::Tick start = 0;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] {
    start = f.clock.Now();
    status = Negotiation(f.engine, &f.owner, 3000, 0);
  });
  EXPECT_EQ(status, LinkTimeout);
  EXPECT_LE(f.clock.Now() - start, 3100u);
  ASSERT_FALSE(f.owner.reported().empty());
  EXPECT_EQ(f.owner.reported().front(),
            (ProgressEvent{ProgressKind::Status, 0, ProgressScope::Negotiation}));
}

TEST(Negotiation, TagsTheOwnersTitleOnlyWhenALogIsKept) {
  for (bool withLog : {true, false}) {
    LineFixture f;
    if (withLog) f.UseLog();
    f.engine.Link().SetEchoBack(false);
    f.owner.SetTitle("PC Interface Software for Brelan Pellico (Backup)");
    std::vector<Bytes> seen;
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { EXPECT_EQ(Negotiation(f.engine, &f.owner, 30000, -1), LinkOk); },
          [&](FarEnd& far) {
            Organizer{1, 2, false}.Play(far, seen);
          });
    EXPECT_EQ(f.owner.Title(), std::string(withLog ? "<E+> " : "") +
                                   "PC Interface Software for Brelan Pellico (Backup)");
  }
}

TEST(Negotiation, TagsEachVariant) {
  const struct {
    Organizer organizer;
    const char* tag;
  } cases[] = {{{0, 2, false}, "<E> "}, {{1, 2, true}, "<M> "}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    std::vector<Bytes> seen;
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { EXPECT_EQ(Negotiation(f.engine, &f.owner, 30000, -1), LinkOk); },
          [&](FarEnd& far) { c.organizer.Play(far, seen); });
    EXPECT_EQ(f.owner.Title(), std::string(c.tag) + "orgalink");
  }
}

TEST(NegotiationForDevice, OffersLinkRequestEveryTwoSecondsForThirtySeconds) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  platform::Tick start = 0;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] {
    start = f.clock.Now();
    status = NegotiationForDevice(f.engine, &f.owner);
  });
  EXPECT_EQ(status, LinkTimeout);
  const auto offers = f.line.BytesWritten(platform::VirtualLine::End::A) / 5;
  EXPECT_GE(offers, 14u);
  EXPECT_LE(offers, 16u);
  const platform::Tick elapsed = f.clock.Now() - start;
  EXPECT_GE(elapsed, 30000u);
  EXPECT_LE(elapsed, 32100u);
  const std::string log = f.LogText();
  EXPECT_EQ(testsupport::CountOf(log, "---HDD sends LINK_REQUEST"), static_cast<int>(offers));
  EXPECT_NE(log.find(InLog("!!!Time Out(NegoticationForDevice) Break\n\n")), std::string::npos);
}

TEST(NegotiationForDevice, IdentifiesItselfOnceThePcAnswers) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  Bytes info;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = NegotiationForDevice(f.engine, &f.owner); },
        [&](FarEnd& far) {
          EXPECT_EQ(far.ReceiveCommand(), CommandFrame(LINK_REQUEST));  // ignored
          EXPECT_EQ(far.ReceiveCommand(), CommandFrame(LINK_REQUEST));
          far.SendCommand(ACK);
          info = far.ReceiveCommand();
        });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(info, (Bytes{0x7F, 0x08, 0x00, 0x02, 0x89}));
  EXPECT_NE(f.LogText().find(InLog("---HDD receives ACK\n\n")), std::string::npos);
  EXPECT_EQ(f.owner.reported().front(),
            (ProgressEvent{ProgressKind::Status, 0, ProgressScope::Negotiation}));
}

// The abort may land inside the ACK wait, which takes the message; the offer
// loop must still end rather than go on offering until its 30 s are up.
TEST(NegotiationForDevice, EndsOnAnAbortDuringTheAckWait) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  platform::Tick start = 0;
  f.AbortAt(f.clock.Now() + 500);
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] {
    start = f.clock.Now();
    status = NegotiationForDevice(f.engine, &f.owner);
  });
  EXPECT_EQ(status, LinkAborted);
  EXPECT_LT(f.clock.Now() - start, 2000u);
  EXPECT_NE(f.LogText().find(InLog("!!!Abort(NegotiationForDevice)\n\n")), std::string::npos);
}

// A LINK_REQUEST that cannot be sent ends the offers with the write's own
// status and lines; only an abort taken by the ACK wait is the offer loop's.
TEST(NegotiationForDevice, EndsWhenALinkRequestCannotBeSent) {
  const struct {
    const char* name;
    bool echo;          // on, with nothing on the line to echo
    bool abortInDrain;  // the user aborts while the write waits for a quiet line
    LinkStatus status;
    const char* line;
  } cases[] = {
      {"no echo", true, false, LinkIoError, "!!!NOT Receive EchoBack\n\n"},
      {"abort before the write", false, true, LinkAborted,
       ">>>>>>!!!Send FAILED(Receive Incomplete)\n\n"},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(c.echo);
    // The first offer is due a tick after the start; its drain waits 10 ms.
    if (c.abortInDrain) f.AbortAt(f.clock.Now() + 5);
    link::StepResult status{link::LinkStatus{-1}};
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { status = NegotiationForDevice(f.engine, &f.owner); });
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), c.echo ? 5u : 0u) << c.name;
    const std::string log = f.LogText();
    EXPECT_TRUE(testsupport::LinesInOrder(log, {c.line, "!!!Command Send Err\n\n"}))
        << c.name << log;
    EXPECT_EQ(log.find("!!!Abort(NegotiationForDevice)"), std::string::npos) << c.name;
    EXPECT_EQ(log.find("---HDD sends LINK_REQUEST"), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace orgalink::link
