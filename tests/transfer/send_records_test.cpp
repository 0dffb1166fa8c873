// SPDX-License-Identifier: GPL-3.0-or-later
// Sending an application's records and the expense category table to the
// organizer, and the same from the organizer's side.

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/transfer_peer.h"
#include "transfer/send_all_records.h"
#include "transfer/send_expense_category.h"
#include "transfer/send_record.h"

namespace orgalink::transfer {
namespace {

using link::LinkStatus;
using link::ProgressEvent;
using link::ProgressKind;
using link::ProgressScope;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;
using testsupport::RecordPackets;

const Bytes kAck = CommandFrame(6);
const Bytes kSend1Record = CommandFrame(10);

// The organizer taking the PC's records: ACK to every SEND_1_RECORD and to
// every packet. Returns the packets, and stops at the first unexpected frame.
std::vector<Bytes> TakeAsOrganizer(FarEnd& far, const std::vector<Bytes>& expectedPackets) {
  std::vector<Bytes> got;
  for (const Bytes& expected : expectedPackets) {
    if (far.ReceiveCommand() != kSend1Record) break;
    far.Send(kAck);
    got.push_back(far.Receive(expected.size()));
    far.Send(kAck);
  }
  return got;
}

std::vector<Bytes> PacketsOf(std::uint8_t code, const std::vector<Bytes>& records) {
  std::vector<Bytes> all;
  for (const Bytes& record : records) {
    if (record.empty()) continue;
    for (Bytes& packet : RecordPackets(code, record)) all.push_back(std::move(packet));
  }
  return all;
}

struct Sent {
  link::StepResult status{link::LinkStatus{-1}};
};

TEST(SendAllRecords, AnnouncesAndAcknowledgesEveryPacketOnThePcSide) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  const std::vector<Bytes> records{testsupport::PatternRecord(300), {0x41}};
  const Bytes stream = testsupport::RecordStream(records);
  const auto expected = PacketsOf(3, records);
  link::StepResult status{link::LinkStatus{-1}};
  std::vector<Bytes> got;
  status = f.RunOpen([&] { return SendAllRecords(f.engine, &f.owner, stream, 3, 2, PcFull); },
                     [&](FarEnd& far) {
                       got = TakeAsOrganizer(far, expected);
                       EXPECT_TRUE(far.Receive(1, 2000).empty()) << "nothing marks the end";
                     });
  EXPECT_EQ(status, link::LinkOk);
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(got, expected);
  // Both packets of the 300-byte record: 241 first, then the 59 left.
  EXPECT_EQ(got[0].size(), 241u + 6);
  EXPECT_EQ(got[1][1], 0xA0);
  EXPECT_EQ(got[1][2] * 256 + got[1][3], 300);
  EXPECT_TRUE(testsupport::LinesInOrder(
      f.LogText(),
      {"\n========== Start Send 1 Record ==========\n\n", "---PC sends SEND_1_RECORD\n\n",
       "---PC receives ACK\n\n", "---PC sends DATA\n\n", "---PC receives ACK\n\n",
       "========== End Send 1 Record ==========\n\n", "---Total Send Records=2\n\n"}));
}

TEST(SendAllRecords, SendsPacketsAloneAndFinishesOnTheOrganizersSide) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const std::vector<Bytes> records{testsupport::PatternRecord(300), {0x41}};
  const Bytes stream = testsupport::RecordStream(records);
  const auto expected = PacketsOf(5, records);
  link::StepResult status{link::LinkStatus{-1}};
  std::vector<Bytes> got;
  Bytes finish;
  status = f.RunOpen([&] { return SendAllRecords(f.engine, &f.owner, stream, 5, 2, HandheldSide); },
                     [&](FarEnd& far) {
                       for (const Bytes& packet : expected) {
                         got.push_back(far.Receive(packet.size()));
                         far.Send(kAck);
                       }
                       finish = far.ReceiveCommand();
                     });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(finish, CommandFrame(13));
}

TEST(SendAllRecords, AnEmptyRecordSendsNothingButStillCounts) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  const Bytes stream{0x41, 0xFF, 0xFF, 0x42, 0xFF};
  const auto expected = PacketsOf(0, {{0x41}, {0x42}});
  link::StepResult status{link::LinkStatus{-1}};
  std::vector<Bytes> got;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = SendAllRecords(f.engine, &f.owner, stream, 0, 3, PcStep); },
        [&](FarEnd& far) { got = TakeAsOrganizer(far, expected); });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(got, expected);
  const std::string log = f.LogText();
  EXPECT_EQ(testsupport::CountOf(log, "Start Send 1 Record"), 3);
  EXPECT_EQ(testsupport::CountOf(log, "---PC sends DATA"), 2);
}

TEST(SendAllRecords, RefusesAStreamThatDoesNotMatchBeforeSendingAnything) {
  const Bytes threeRecords{0x41, 0xFF, 0x42, 0xFF, 0x43, 0xFF};
  const struct {
    const char* name;
    Bytes stream;
    int recordCount;
    const char* line;
  } cases[] = {
      {"fewer expected", threeRecords, 2, "!!! Record Data Err(number of records)\n"},
      {"more expected", threeRecords, 4, "!!! Record Data Err(number of records)\n"},
      {"no terminator at the end", {0x41, 0xFF, 0x42, 0xFF, 0x43}, 2, nullptr},
      {"no terminator at all", {0x41, 0x42}, 0, nullptr},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    link::StepResult status{link::LinkStatus{-1}};
    status = f.RunOpen(
        [&] { return SendAllRecords(f.engine, &f.owner, c.stream, 1, c.recordCount, PcFull); });
    EXPECT_EQ(status, link::LinkIoError) << c.name;
    EXPECT_EQ(f.engine.Status(), link::LinkIoError) << c.name;
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 0u) << c.name;
    EXPECT_TRUE(f.owner.reported().empty()) << c.name;
    const std::string log = f.LogText();
    if (c.line != nullptr) {
      EXPECT_NE(log.find(InLog(c.line)), std::string::npos) << c.name;
    } else {
      EXPECT_EQ(log.find("Record Data Err"), std::string::npos) << c.name;
    }
  }
}

TEST(SendAllRecords, RefusesWithoutPortOrStreamLeavingTheStatusAlone) {
  LineFixture f;
  const Bytes stream{0x41, 0xFF};
  f.engine.SetStatus(link::LinkTimeout, -1);
  EXPECT_EQ(SendAllRecords(f.engine, &f.owner, stream, 1, 1, PcFull), link::LinkIoError);
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.engine.SetStatus(link::LinkTimeout, -1);
  EXPECT_EQ(SendAllRecords(f.engine, &f.owner, {}, 1, 1, PcFull), link::LinkIoError);
  EXPECT_EQ(SendAllRecords(f.engine, &f.owner, std::span(stream).first(0), 1, 1, PcFull),
            link::LinkIoError);
  EXPECT_EQ(f.engine.Status(), link::LinkTimeout);
}

TEST(SendAllRecords, StopsAtANackInPlaceOfAnAck) {
  const struct {
    const char* name;
    int packetsAcked;  // before the NACK
    int recordIndex;
  } cases[] = {{"announcement", 0, 0}, {"second record's packet", 1, 1}};
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    const Bytes stream{0x41, 0xFF, 0x42, 0xFF};
    link::StepResult status{link::LinkStatus{-1}};
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { status = SendAllRecords(f.engine, &f.owner, stream, 2, 2, PcFull); },
          [&](FarEnd& far) {
            for (int i = 0; i < c.packetsAcked; ++i) {
              far.ReceiveCommand();
              far.Send(kAck);
              far.Receive(7);
              far.Send(kAck);
            }
            far.ReceiveCommand();
            if (c.packetsAcked > 0) {
              far.Send(kAck);
              far.Receive(7);
            }
            far.SendCommand(21);
          });
    EXPECT_EQ(status, link::LinkIoError) << c.name;
    EXPECT_TRUE(testsupport::LinesInOrder(
        f.LogText(), {"!!!---PC receives NACK\n\n", "!!!ACK Receive Err\n\n",
                      "!!!Abort (Now RecordIdx=" + std::to_string(c.recordIndex) + ")\n\n"}))
        << c.name << f.LogText();
  }
}

TEST(SendAllRecords, ReportsProgressAtMostEveryHalfSecond) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const std::vector<Bytes> records(12, Bytes{0x01, 0x41});
  const Bytes stream = testsupport::RecordStream(records);
  link::StepResult status{link::LinkStatus{-1}};
  platform::Tick start = 0;
  platform::Tick end = 0;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run(
      [&] {
        start = f.clock.Now();
        status = SendAllRecords(f.engine, &f.owner, stream, 5, 12, HandheldSide);
        end = f.clock.Now();
      },
      [&](FarEnd& far) {
        for (int i = 0; i < 12; ++i) {
          far.Receive(8);
          far.Pause(200);  // a slow organizer
          far.Send(kAck);
        }
        far.ReceiveCommand();
      });
  ASSERT_EQ(status, link::LinkOk);
  const auto reported = f.owner.reported();
  ASSERT_GE(reported.size(), 2u);
  EXPECT_EQ(reported.front(),
            (ProgressEvent{ProgressKind::Status, 100, ProgressScope::Application}));
  EXPECT_EQ(reported.back(),
            (ProgressEvent{ProgressKind::Progress, 100, ProgressScope::Application}));
  std::vector<ProgressEvent> between;
  int counted = 0;
  for (auto e = reported.begin() + 1; e != reported.end() - 1; ++e) {
    if (e->kind != ProgressKind::Records) {
      between.push_back(*e);
      continue;
    }
    EXPECT_GE(e->value, counted);  // the records sent so far, up to all 12
    counted = e->value;
  }
  EXPECT_EQ(counted, 12);
  EXPECT_GE(between.size(), 2u);
  EXPECT_LE(between.size(), (end - start) / 500);
  int last = 0;
  for (const ProgressEvent& e : between) {
    EXPECT_EQ(e.kind, ProgressKind::Progress);
    EXPECT_EQ(e.scope, ProgressScope::Telephone);
    EXPECT_GT(e.value, last);
    bool isShareOfRecords = false;  // 100 * sent / 12 for some count sent
    for (int sent = 1; sent <= 12; ++sent) isShareOfRecords |= e.value == 100 * sent / 12;
    EXPECT_TRUE(isShareOfRecords) << e.value;
    last = e.value;
  }
}

TEST(SendAllRecords, AFastSendReportsOnlyStartAndEnd) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const Bytes stream = testsupport::RecordStream(std::vector<Bytes>(20, Bytes{0x41}));
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run(
      [&] {
        EXPECT_EQ(SendAllRecords(f.engine, nullptr, stream, 1, 20, HandheldSide), link::LinkOk);
        EXPECT_EQ(SendAllRecords(f.engine, &f.owner, stream, 1, 20, HandheldSide), link::LinkOk);
      },
      [&](FarEnd& far) {
        for (int pass = 0; pass < 2; ++pass) {
          for (int i = 0; i < 20; ++i) {
            far.Receive(7);
            far.Send(kAck);
          }
          far.ReceiveCommand();
        }
      });
  EXPECT_EQ(f.owner.reported(), (std::vector<ProgressEvent>{
                                    {ProgressKind::Status, 100, ProgressScope::Application},
                                    {ProgressKind::Records, 20, ProgressScope::Application},
                                    {ProgressKind::Progress, 100, ProgressScope::Application}}));
}

TEST(SendRecord, CutsRecordsAt241Then252OnTheLine) {
  for (int size : {241, 242, 745, 746}) {
    LineFixture f;
    f.engine.Link().SetEchoBack(false);
    const Bytes record = testsupport::PatternRecord(size);
    const auto expected = RecordPackets(4, record);
    link::StepResult status{link::LinkStatus{-1}};
    std::vector<Bytes> got;
    ASSERT_TRUE(f.engine.Link().OpenPort(1));
    f.Run([&] { status = SendRecord(f.engine, record, 4, HandheldSide); },
          [&](FarEnd& far) {
            for (const Bytes& packet : expected) {
              got.push_back(far.Receive(packet.size()));
              far.Send(kAck);
            }
          });
    EXPECT_EQ(status, link::LinkOk) << size;
    EXPECT_EQ(got, expected) << size;
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A),
              static_cast<std::uint64_t>(size) + 6 * expected.size())
        << size;
  }
}

// --- the expense category table -----------------------------------------------

TEST(SendExpenseCategory, SendsTheTableAsOnePacketBetweenAcks) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  const Bytes table = testsupport::PatternRecord(252, 0x20);
  const Bytes stream = testsupport::RecordStream({table});
  link::StepResult status{link::LinkStatus{-1}};
  Bytes announce, packet;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run(
      [&] {
        // Through SendAllRecords, as a restore does.
        status = SendAllRecords(f.engine, &f.owner, stream, 6, 1, PcFull);
      },
      [&](FarEnd& far) {
        announce = far.ReceiveCommand();
        far.Send(kAck);
        packet = far.Receive(258);
        far.Send(kAck);
      });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(announce, CommandFrame(15));
  EXPECT_EQ(packet, testsupport::DataPacketFrame(6, 0x00, 252, table));
  EXPECT_TRUE(f.owner.reported().empty());
  EXPECT_TRUE(testsupport::LinesInOrder(
      f.LogText(), {"---PC sends SEND_EXPENSE_CATEGORY\n\n", "---PC receives ACK\n\n",
                    "---PC sends DATA\n\n", "---PC receives ACK\n\n"}));
}

TEST(SendExpenseCategory, OnTheOrganizersSideSendsThePacketAlone) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  const Bytes stream{0x41, 0x42, 0xFF};
  link::StepResult status{link::LinkStatus{-1}};
  Bytes packet;
  ASSERT_TRUE(f.engine.Link().OpenPort(1));
  f.Run([&] { status = SendExpenseCategory(f.engine, stream, HandheldSide); },
        [&](FarEnd& far) { packet = far.Receive(8); });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(packet, testsupport::DataPacketFrame(6, 0x00, 2, {0x41, 0x42}));
  EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 8u);
}

TEST(SendExpenseCategory, RefusesTablesThatDoNotFitOnePacket) {
  const struct {
    const char* name;
    Bytes stream;
    const char* line;
    std::uint64_t written;
  } cases[] = {
      {"253 bytes", testsupport::RecordStream({Bytes(253, 0x41)}), "!!!DATA Send Err\n\n", 0},
      {"empty table", {0xFF}, "!!!DATA Send Err\n\n", 0},
      {"bytes after the terminator", {0x41, 0xFF, 0x42}, "!!! Record Data Err(DataSize)\n", 0},
      {"second terminator", {0x41, 0xFF, 0x42, 0xFF}, "!!! Record Data Err(DataSize)\n", 0},
      {"no terminator", {0x41, 0x42}, "!!! Record Data Err(DataSize)\n", 0},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    link::StepResult status{link::LinkStatus{-1}};
    status = f.RunOpen([&] { return SendExpenseCategory(f.engine, c.stream, HandheldSide); });
    EXPECT_EQ(status, link::LinkIoError) << c.name;
    EXPECT_EQ(f.engine.Status(), link::LinkIoError) << c.name;
    EXPECT_NE(f.LogText().find(InLog(c.line)), std::string::npos) << c.name;
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), c.written) << c.name;
  }
}

}  // namespace
}  // namespace orgalink::transfer
