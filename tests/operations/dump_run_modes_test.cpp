// SPDX-License-Identifier: GPL-3.0-or-later
// RunModes 13 and 15 to 17: one application between a dump file and a
// scripted organizer.

#include <gtest/gtest.h>

#include <filesystem>

#include "operations/dump_line.h"
#include "operations/run_communication.h"
#include "support/file_bytes.h"
#include "support/line_fixture.h"
#include "support/transfer_peer.h"

namespace orgalink::operations {

using namespace link;
namespace {

using testing::DumpLine;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::DataPacketFrame;
using testsupport::FarEnd;
using testsupport::FileBytes;
using testsupport::InLog;
using testsupport::RecordPackets;
using testsupport::RecordStream;
using testsupport::WriteBytes;

const Bytes kNackThenEnd = {0x7f, 0x15, 0x00, 0x00, 0x94, 0x7f, 0x09, 0x00, 0x00, 0x88};

TEST(DumpRunModes, SendModesSendTheSndFileAnsweringEachFrameWithAck) {
  const Bytes category = {'F', 'o', 'o', 'd'};
  const struct {
    std::uint8_t mode;
    const char* appliMode;
    int kind;
    Bytes file;
    std::vector<Bytes> frames;  // what the PC sends, each answered by ACK
    const char* text;
  } cases[] = {
      {13,
       "Memo",
       3,
       {0x41, 0xFF, 0x42, 0x43, 0xFF, 0x44},
       {CommandFrame(SEND_1_RECORD), RecordPackets(3, {0x41})[0], CommandFrame(SEND_1_RECORD),
        RecordPackets(3, {0x42, 0x43})[0]},
       "SUCCESS SEND_1_RECORD"},
      {17,
       "Expense Category",
       6,
       RecordStream({category}),
       {CommandFrame(SEND_EXPENSE_CATEGORY), DataPacketFrame(6, 0x00, 4, category)},
       "SUCCESS SEND_EXPENSE_CATEGORY"},
  };
  for (const auto& c : cases) {
    DumpLine f;
    SetAppliMode(f.run, c.appliMode);
    WriteBytes(f.Dump(c.kind, DumpDirection::Send), c.file);
    link::StepResult status{link::LinkStatus{-1}};
    std::vector<Bytes> seen;
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode{c.mode}); },
          [&](FarEnd& far) {
            for (const Bytes& frame : c.frames) {
              seen.push_back(far.Receive(frame.size()));
              far.SendCommand(ACK);
            }
          });
    EXPECT_EQ(status, LinkOk) << f.LogText();
    EXPECT_EQ(seen, c.frames);
    EXPECT_EQ(f.owner.shown(), std::vector<std::string>{c.text});
    EXPECT_NE(f.LogText().find(
                  InLog("<<====Read File (" + f.Dump(c.kind, DumpDirection::Send) + ")\n\n")),
              std::string::npos);
  }
}

TEST(DumpRunModes, ReceiveModesReplaceTheRcvFileWithWhatArrived) {
  const Bytes category = {'F', 'o', 'o', 'd'};
  const std::vector<Bytes> phones = {Bytes(300, 'a'), {'b', 'c'}};
  const struct {
    std::uint8_t mode;
    const char* appliMode;
    int kind;
    Bytes request;
    std::function<void(FarEnd&)> answer;
    Bytes file;
    const char* text;
  } cases[] = {
      {15, "Telephone", 5, CommandFrame(GET_ALL_RECORDS, 5, 0),
       [&](FarEnd& far) {
         ASSERT_TRUE(testsupport::SendRecordsAsOrganizer(far, 5, phones));
         far.SendCommand(FINISH_ALL_RECORDS);
       },
       RecordStream(phones), "SUCCESS GET_ALL_RECORDS"},
      {16, "Expense Category", 6, CommandFrame(GET_EXPENSE_CATEGORY),
       [&](FarEnd& far) { far.Send(DataPacketFrame(6, 0x00, 4, category)); },
       RecordStream({category}), "SUCCESS GET_EXPENSE_CATEGORY"},
  };
  for (const auto& c : cases) {
    DumpLine f;
    SetAppliMode(f.run, c.appliMode);
    const std::string path = f.Dump(c.kind, DumpDirection::Receive);
    WriteBytes(path, Bytes(5000, 'x'));
    link::StepResult status{link::LinkStatus{-1}};
    Bytes request;
    f.Run([&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode{c.mode}); },
          [&](FarEnd& far) {
            request = far.ReceiveCommand();
            c.answer(far);
          });
    EXPECT_EQ(status, LinkOk) << f.LogText();
    EXPECT_EQ(request, c.request);
    EXPECT_EQ(FileBytes(path), c.file);
    EXPECT_EQ(f.owner.shown(), std::vector<std::string>{c.text});
    EXPECT_NE(f.LogText().find(InLog("====>>Write File (" + path + ")\n\n")), std::string::npos);
  }
}

TEST(DumpRunModes, AnApplicationWithoutRecordsLeavesNoRcvFileAndFails) {
  DumpLine f;
  SetAppliMode(f.run, "Memo");
  const std::string path = f.Dump(3, DumpDirection::Receive);
  WriteBytes(path, {0x41, 0xFF});
  link::StepResult status{link::LinkStatus{-1}};
  Bytes closing;
  f.Run(
      [&] {
        status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::ReceiveDumpFile);
      },
      [&](FarEnd& far) {
        far.ReceiveCommand();
        far.SendCommand(FINISH_ALL_RECORDS);
        closing = far.Receive(10);
      });
  EXPECT_EQ(status, LinkIoError);
  EXPECT_EQ(closing, kNackThenEnd);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_NE(f.LogText().find(InLog("!!! Dump File(" + path + ") Write Err\n\n")),
            std::string::npos);
}

// A ".snd" file that cannot be loaded ends the run with 13 before anything
// of it goes out: the organizer sees only the closing NACK and
// END_COMMUNICATION.
TEST(DumpRunModes, ADamagedSndFileIsRefusedWithNothingSent) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
  } damages[] = {
      {"missing", [](const std::string&) {}},
      {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
      {"a record of 1024 bytes",
       [](const std::string& path) {
         WriteBytes(path, RecordStream({{0x41}, Bytes(1024, 0x42)}));
       }},
      {"65536 records", [](const std::string& path) { WriteBytes(path, Bytes(65536, 0xFF)); }},
  };
  for (const auto& damage : damages) {
    DumpLine f;
    SetAppliMode(f.run, "Memo");
    const std::string path = f.Dump(3, DumpDirection::Send);
    damage.make(path);
    link::StepResult status{link::LinkStatus{-1}};
    Bytes seen;
    f.Run(
        [&] { status = RunCommunication(f.run, f.owner.Front(), settings::RunMode::SendDumpFile); },
        [&](FarEnd& far) { seen = far.Receive(kNackThenEnd.size() + 1, 5000); });
    EXPECT_EQ(status, LinkFileIncompatible) << damage.name;
    EXPECT_EQ(seen, kNackThenEnd) << damage.name;
    EXPECT_TRUE(f.owner.shown().empty()) << damage.name;
    EXPECT_NE(f.LogText().find(InLog("!!! File(" + path + ") Read Err\n\n")), std::string::npos)
        << damage.name;
    EXPECT_FALSE(f.store.HasTable()) << damage.name;
  }
}

}  // namespace
}  // namespace orgalink::operations
