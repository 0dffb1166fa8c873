// SPDX-License-Identifier: GPL-3.0-or-later
// One record arriving in packets, on the PC side and on the organizer's side.

#include "transfer/receive_record.h"

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/transfer_peer.h"

namespace orgalink::transfer {
namespace {

using link::LinkStatus;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;
using testsupport::RecordPackets;

struct Received {
  link::StepResult status{link::LinkStatus{-1}};
  Bytes buffer = Bytes(1100, 0);
  int count = -1;
  std::uint8_t kind = 0xEE;
};

void Receive(LineFixture& f, Received& r, TransferRole role, int capacity = 1100) {
  r.status = ReceiveRecord(f.engine, std::span(r.buffer).first(capacity), r.count, r.kind, role);
}

TEST(ReceiveRecord, AcknowledgesEachPacketOfARecordOnThePcSide) {
  for (int size : {3, 241, 300, 746}) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    const Bytes record = testsupport::PatternRecord(size);
    Received r;
    bool acked = false;
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { Receive(f, r, PcFull); },
          [&](FarEnd& far) { acked = testsupport::SendRecordsAsOrganizer(far, 0, {record}); });
    EXPECT_EQ(r.status, link::LinkOk) << size;
    EXPECT_TRUE(acked) << size;
    EXPECT_EQ(r.count, size);
    EXPECT_EQ(r.kind, 0);
    EXPECT_EQ(Bytes(r.buffer.begin(), r.buffer.begin() + size), record);
    const auto packets = static_cast<int>(RecordPackets(0, record).size());
    EXPECT_EQ(testsupport::CountOf(f.LogText(), "---PC receives DATA"), packets);
    EXPECT_EQ(testsupport::CountOf(f.LogText(), "---PC sends ACK"), packets);
  }
}

TEST(ReceiveRecord, TakesFinishAllRecordsAsTheEndWithoutAnAck) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  Received r;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { Receive(f, r, PcStep); }, [&](FarEnd& far) { far.SendCommand(13); });
  EXPECT_EQ(r.status, link::LinkOk) << f.LogText();
  EXPECT_EQ(r.kind, 13);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 0u);
}

// A record cut short by FINISH_ALL_RECORDS must not pass for the end of the
// application, which would drop the part already received.
TEST(ReceiveRecord, RefusesFinishAllRecordsInTheMiddleOfARecord) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  Received r;
  const auto packets = RecordPackets(2, testsupport::PatternRecord(300));
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { Receive(f, r, PcFull); },
        [&](FarEnd& far) {
          far.Send(packets[0]);
          far.ReceiveCommand();
          far.SendCommand(13);
        });
  EXPECT_EQ(r.status, link::LinkIoError);
  EXPECT_NE(f.LogText().find(InLog("!!!NOT Packet Data\n\n")), std::string::npos);
}

TEST(ReceiveRecord, RefusesARecordBeyondTheCapacityAfterAcknowledgingIt) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  Received r;
  Bytes ack;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { Receive(f, r, PcFull, 2); },
        [&](FarEnd& far) {
          far.Send(testsupport::DataPacketFrame(3, 0, 3, {0x41, 0x42, 0x43}));
          ack = far.ReceiveCommand();
        });
  EXPECT_EQ(r.status, link::LinkIoError);
  EXPECT_EQ(f.engine.Status(), link::LinkIoError);
  EXPECT_EQ(ack, CommandFrame(6));
  EXPECT_EQ(r.buffer, Bytes(1100, 0));
}

TEST(ReceiveRecord, OnTheOrganizersSideTakesSend1RecordBeforeEachFurtherPacket) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  const Bytes record = testsupport::PatternRecord(500);
  const auto packets = RecordPackets(1, record);
  Received r;
  std::vector<Bytes> answers;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { Receive(f, r, HandheldSide); },
        [&](FarEnd& far) {
          for (std::size_t i = 0; i < packets.size(); ++i) {
            if (i > 0) {
              far.SendCommand(10);
              answers.push_back(far.ReceiveCommand());
            }
            far.Send(packets[i]);
            answers.push_back(far.ReceiveCommand());
          }
        });
  EXPECT_EQ(r.status, link::LinkOk);
  EXPECT_EQ(Bytes(r.buffer.begin(), r.buffer.begin() + r.count), record);
  EXPECT_EQ(answers, std::vector<Bytes>(5, CommandFrame(6)));
  EXPECT_TRUE(testsupport::LinesInOrder(
      f.LogText(),
      {"---PC receives DATA\n\n", "---PC sends ACK\n\n", "---HDD receives SEND_1_RECORD\n\n",
       "---HDD sends ACK\n\n", "---PC receives DATA\n\n"}));
}

TEST(ReceiveRecord, OnTheOrganizersSideRefusesWhatIsNoRecord) {
  const struct {
    const char* name;
    Bytes afterFirstPacket;  // empty: FINISH_ALL_RECORDS comes in place of the record
    const char* line;
  } cases[] = {
      {"finish", {}, "!!!NOT Packet Data\n\n"},
      {"other command", CommandFrame(15), "---!!!Receive Another Command\n\n"},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    Received r;
    const auto packets = RecordPackets(1, testsupport::PatternRecord(300));
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { Receive(f, r, HandheldSide); },
          [&](FarEnd& far) {
            if (c.afterFirstPacket.empty()) {
              far.SendCommand(13);
              return;
            }
            far.Send(packets[0]);
            far.ReceiveCommand();
            far.Send(c.afterFirstPacket);
          });
    EXPECT_EQ(r.status, link::LinkIoError) << c.name;
    EXPECT_NE(f.LogText().find(InLog(c.line)), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace orgalink::transfer
