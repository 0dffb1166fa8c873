// SPDX-License-Identifier: GPL-3.0-or-later
// One DataPacket on the line, both ways, against a scripted far end.

#include "transfer/data_packet.h"

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/outlandish_timeouts.h"
#include "support/pty_engine.h"
#include "support/transfer_peer.h"

namespace orgalink::transfer {
namespace {

using link::LinkStatus;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::DataPacketFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;

const Bytes kMemoPacket{0x03, 0x00, 0x00, 0x03, 0x03, 0x41, 0x42, 0x43, 0xCF};

TEST(SendDataPacket, WritesTheMemoExampleByteForByte) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const std::uint8_t abc[] = {0x41, 0x42, 0x43};
  link::StepResult status{link::LinkStatus{-1}};
  Bytes seen;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = SendDataPacket(f.engine, abc, 3, 3, PacketFirst); },
        [&](FarEnd& far) { seen = far.Receive(9); });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(seen, kMemoPacket);
}

TEST(SendDataPacket, RefusesLengthsOutside1To252WithoutTouchingTheStatus) {
  for (int length : {0, 253}) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    const Bytes contents(300, 0x41);
    link::StepResult status{link::LinkStatus{-1}};
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] {
      f.engine.SetStatus(link::LinkTimeout, -1);
      status = SendDataPacket(f.engine, std::span(contents).first(length), 300, 3, PacketFirst);
    });
    EXPECT_EQ(status, link::LinkIoError) << length;
    EXPECT_EQ(f.engine.Status(), link::LinkTimeout) << length;
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 0u) << length;
  }
}

TEST(SendDataPacket, CarriesTheLow16BitsOfTheRecordSizeHighByteFirst) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const Bytes contents(252, 0x20);
  Bytes seen;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run(
      [&] {
        EXPECT_EQ(SendDataPacket(f.engine, contents, 0x10305, 5, PacketMiddle), link::LinkOk);
      },
      [&](FarEnd& far) { seen = far.Receive(258); });
  EXPECT_EQ(seen, DataPacketFrame(5, 0xF0, 0x0305, contents));
}

struct WaitCase {
  const char* name;
  Bytes incoming;
  bool withKind;
  int expectedCode;
  int status;  // a LinkStatus
  int length;
  int kind;
  int position;
  Bytes contents;
  const char* logLine;
  int capacity = 258;
};

class WaitDataPacketTest : public ::testing::TestWithParam<WaitCase> {};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_P(WaitDataPacketTest, ChecksAndReportsWhatCame) {
  const WaitCase& c = GetParam();
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  link::StepResult status{link::LinkStatus{-1}};
  Bytes contents(300, 0xEE);
  int length = -1;
  std::uint8_t kind = 0xEE;
  std::uint8_t position = 0xEE;
  status = f.RunOpen(
      [&] {
        return WaitDataPacket(f.engine, c.expectedCode,
                              PacketOut{contents.data(), c.capacity, &length,
                                        c.withKind ? &kind : nullptr, &position});
      },
      [&](FarEnd& far) { far.Send(c.incoming); });
  EXPECT_EQ(status, LinkStatus{c.status});
  EXPECT_EQ(f.engine.Status(), LinkStatus{c.status});
  if (c.logLine != nullptr) {
    EXPECT_NE(f.LogText().find(InLog(c.logLine)), std::string::npos) << f.LogText();
  }
  if (c.length >= 0) {
    EXPECT_EQ(length, c.length);
    EXPECT_EQ(Bytes(contents.begin(), contents.begin() + c.length), c.contents);
  } else {
    EXPECT_EQ(contents, Bytes(300, 0xEE)) << "nothing copied on failure";
  }
  if (c.kind >= 0) {
    EXPECT_EQ(kind, c.kind);
  }
  if (c.position >= 0) {
    EXPECT_EQ(position, c.position);
  }
  EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 0u) << "a wait never answers";
}

const Bytes kFinish = CommandFrame(13);
const Bytes kNack = CommandFrame(21);

INSTANTIATE_TEST_SUITE_P(
    Cases, WaitDataPacketTest,
    ::testing::Values(
        WaitCase{
            "MemoExample", kMemoPacket, true, 0xFF, 16, 3, 3, 0xA0, {0x41, 0x42, 0x43}, nullptr},
        WaitCase{"ExpectedApplication",
                 kMemoPacket,
                 true,
                 3,
                 16,
                 3,
                 3,
                 0xA0,
                 {0x41, 0x42, 0x43},
                 nullptr},
        WaitCase{"FirstOfSeveralKeepsItsPosition", DataPacketFrame(5, 0x00, 300, Bytes(241, 0x33)),
                 true, 0xFF, 16, 241, 5, 0x00, Bytes(241, 0x33), nullptr},
        WaitCase{"MiddleKeepsItsPosition", DataPacketFrame(5, 0xF0, 745, Bytes(252, 0x34)), true,
                 0xFF, 16, 252, 5, 0xF0, Bytes(252, 0x34), nullptr},
        WaitCase{"ContentsAsLongAsTheRecordClose",
                 DataPacketFrame(1, 0x00, 2, {0x31, 0x32}),
                 true,
                 0xFF,
                 16,
                 2,
                 1,
                 0xA0,
                 {0x31, 0x32},
                 nullptr},
        WaitCase{"EmptyContentsAccepted",
                 DataPacketFrame(2, 0x00, 9, {}),
                 true,
                 0xFF,
                 16,
                 0,
                 2,
                 0x00,
                 {},
                 nullptr},
        WaitCase{"ContentsLongerThanRecord",
                 DataPacketFrame(3, 0x00, 2, {0x41, 0x42, 0x43}),
                 true,
                 0xFF,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Contents Size Err\n\n"},
        WaitCase{"ContentsOf253",
                 DataPacketFrame(3, 0x00, 1000, Bytes(253, 0x41)),
                 true,
                 0xFF,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Contents Size Err\n\n"},
        WaitCase{"StrayBytesSkipped",
                 Concat({{0x80, 0x07}, kMemoPacket}),
                 true,
                 0xFF,
                 16,
                 3,
                 3,
                 0xA0,
                 {0x41, 0x42, 0x43},
                 "!!!Not DataPacket\n{+"},
        WaitCase{"BadChecksum",
                 {0x03, 0x00, 0x00, 0x03, 0x03, 0x41, 0x42, 0x43, 0xCE},
                 true,
                 0xFF,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!CheckSum Err\n\n"},
        WaitCase{"AnotherApplication",
                 kMemoPacket,
                 true,
                 5,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Another Appli Data\n\n"},
        WaitCase{"FinishWithKind", kFinish, true, 0xFF, 16, 5, 13, 0, kFinish, nullptr},
        WaitCase{"FinishWithoutKind", kFinish, false, 6, 16, 5, -1, 0, kFinish, nullptr},
        WaitCase{
            "NackWithKind", kNack, true, 0xFF, 11, -1, 21, -1, {}, "!!!---PC receives NACK\n\n"},
        WaitCase{"NackWithoutKind", kNack, false, 6, 16, 5, -1, 0, kNack, nullptr},
        WaitCase{"OtherCommand",
                 CommandFrame(6),
                 true,
                 0xFF,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Another Command\n\n"},
        WaitCase{"CommandChecksum",
                 {0x7F, 0x0D, 0x00, 0x00, 0x8D},
                 true,
                 0xFF,
                 11,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Checksum Err\n\n"},
        WaitCase{"HeaderIncomplete",
                 {0x03, 0x00, 0x00},
                 true,
                 0xFF,
                 5,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!No Receive(Remains of Packet Header)\n\n"},
        WaitCase{"NothingComes",
                 {},
                 true,
                 0xFF,
                 5,
                 -1,
                 -1,
                 -1,
                 {},
                 "!!!Time Out(Wait Data Packet) Break\n\n"},
        // A caller's buffer is never written past its end.
        WaitCase{"ContentsBeyondCapacity", kMemoPacket, true, 0xFF, 11, -1, -1, -1, {}, nullptr, 2},
        WaitCase{"CommandBeyondCapacity", kFinish, false, 6, 11, -1, -1, -1, {}, nullptr, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaitDataPacket, LogsEachStrayByteOnce) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  std::uint8_t contents[8];
  int length = 0;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run(
      [&] {
        EXPECT_EQ(WaitDataPacket(f.engine, 0xFF, PacketOut{contents, 8, &length}), link::LinkOk);
      },
      [&](FarEnd& far) {
        far.Send(Concat({{0x80, 0x07, 0xFF}, kMemoPacket}));
      });
  EXPECT_EQ(testsupport::CountOf(f.LogText(), "!!!Not DataPacket\r\n"), 3);
}

TEST(WaitDataPacket, SharesOneDeadlineUnlessAMultiplierIsSet) {
  // With 100 ms per byte the 253 bytes after a full header have 25 300 ms of
  // their own; without a multiplier all reads share the 30 s of the wait, so
  // a header after 20 s leaves the rest 10 s.
  const struct {
    long timeout;
    long multiplier;
    std::uint32_t header;  // delay before the header
    std::uint32_t rest;    // delay between the header and the rest
    LinkStatus expected;
  } cases[] = {
      {60000, 100, 0, 25000, link::LinkOk},
      {60000, 100, 0, 25600, link::LinkTimeout},
      {30000, 0, 20000, 9000, link::LinkOk},
      {30000, 0, 20000, 11000, link::LinkTimeout},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    const Bytes packet = DataPacketFrame(4, 0x00, 252, Bytes(252, 0x41));
    std::uint8_t contents[258];
    int length = 0;
    link::StepResult status{link::LinkStatus{-1}};
    status = f.RunOpen(
        [&] {
          return WaitDataPacket(f.engine, 0xFF, PacketOut{contents, 258, &length}, c.timeout,
                                c.multiplier);
        },
        [&](FarEnd& far) {
          far.Pause(c.header);
          far.Send(Bytes(packet.begin(), packet.begin() + 5));
          far.Pause(c.rest);
          far.Send(Bytes(packet.begin() + 5, packet.end()));
        });
    EXPECT_EQ(status, c.expected) << c.multiplier << " " << c.rest;
  }
}

TEST(WaitDataPacket, OutlandishTimeOutsStillWaitForThePacket) {
  for (const auto& c : testsupport::kOutlandishTimeouts) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    std::uint8_t contents[258];
    int length = 0;
    link::StepResult status{link::LinkStatus{-1}};
    status = f.RunOpen(
        [&] {
          return WaitDataPacket(f.engine, 0xFF, PacketOut{contents, 258, &length}, c.timeout,
                                c.multiplier);
        },
        [&](FarEnd& far) {
          far.Pause(500);
          far.Send(DataPacketFrame(3, 0x00, 3, {0x41, 0x42, 0x43}));
        });
    EXPECT_EQ(status, link::LinkOk) << c.timeout << "/" << c.multiplier;
    EXPECT_EQ(length, 3);
  }
}

// The same on a real termios device, whose waits turn deadlines into poll()
// time-outs.
TEST(WaitDataPacket, OutlandishTimeOutsStillWaitForThePacketOnAPseudoTerminal) {
  for (const auto& c : testsupport::kOutlandishTimeouts) {
    testsupport::PtyEngine p;
    std::uint8_t contents[258];
    int length = 0;
    const link::StepResult status = p.RunAnswered(
        [&] {
          return WaitDataPacket(p.engine, 0xFF, PacketOut{contents, 258, &length}, c.timeout,
                                c.multiplier);
        },
        DataPacketFrame(3, 0x00, 3, {0x41, 0x42, 0x43}));
    EXPECT_EQ(status, link::LinkOk) << c.timeout << "/" << c.multiplier;
    EXPECT_EQ(length, 3);
  }
}

// A device that fails fails again at once; the wait must end instead of
// trying until its deadline.
TEST(WaitDataPacket, EndsOnADeviceFailure) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  std::uint8_t contents[8];
  int length = 0;
  link::StepResult status{link::LinkStatus{-1}};
  platform::Tick start = 0;
  f.clock.At(f.clock.Now() + 1000, [&] { f.line.HangUp(); });
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] {
    start = f.clock.Now();
    status = WaitDataPacket(f.engine, 0xFF, PacketOut{contents, 8, &length});
  });
  EXPECT_EQ(status, link::LinkIoError);
  EXPECT_LT(f.clock.Now() - start, 5000u);
}

TEST(WaitDataPacket, EndsOnAnAbort) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  std::uint8_t contents[8];
  int length = 0;
  link::StepResult status{link::LinkStatus{-1}};
  f.AbortAt(f.clock.Now() + 1000);
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = WaitDataPacket(f.engine, 0xFF, PacketOut{contents, 8, &length}); });
  EXPECT_EQ(status, link::LinkAborted);
  EXPECT_EQ(f.engine.Status(), link::LinkAborted);
}

}  // namespace
}  // namespace orgalink::transfer
