// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated organizer (RunMode 18): against this program's own PC side
// across two ends of a virtual line, and against a scripted PC.

#include "operations/handheld_side.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <latch>
#include <map>
#include <thread>

#include "link/negotiation.h"
#include "operations/dump_line.h"
#include "operations/run_communication.h"
#include "store/appli_kind.h"
#include "support/file_bytes.h"
#include "support/line_fixture.h"
#include "support/organizer_script.h"
#include "support/transfer_peer.h"
#include "transfer/telephone_order.h"

namespace orgalink::operations {

using namespace link;
namespace {

using platform::VirtualLine;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::DataPacketFrame;
using testsupport::FarEnd;
using testsupport::FileBytes;
using testsupport::InLog;
using testsupport::LineFixture;
using testsupport::LinesInOrder;
using testsupport::RecordPackets;
using testsupport::RecordStream;
using testsupport::WriteBytes;

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

// Records of every application, all in plain ASCII so that the character
// conversion leaves them alone. The Telephone records are in sort order
// (their key starts at the second byte) and more than BKTelRecordsMin.
std::map<int, std::vector<Bytes>> EveryApplication() {
  return {
      {store::Telephone, {Text("1Adams"), Text("1Baker"), Text("1Baker Jr"), Text("1Clark")}},
      {store::Schedule, {Text("20261210093000Dentist")}},
      {store::Anniversary, {Text("20261224000000Christmas"), Text("20270101000000New Year")}},
      {store::ToDo, {Text("00001Buy milk")}},
      {store::Memo, {Bytes(600, 'm'), Text("short")}},
      {store::ExpenseCategory, {Text("Food Rent Fuel")}},
      {store::Expense, {Text("000000000000000000000000000000012Lunch")}},
  };
}

// What a backup of EveryApplication writes with FileScramble on: a section
// for every application, in the order of a full backup.
Bytes ExpectedArchive(const std::map<int, std::vector<Bytes>>& applications) {
  std::vector<std::pair<std::uint8_t, std::vector<Bytes>>> sections;
  for (const std::uint8_t kind : store::FullOrder)
    sections.emplace_back(kind, applications.at(kind));
  return testsupport::InvertedArchive(sections);
}

// Our own full backup (RunMode 1) against our own emulated organizer
// (RunMode 18), each with its engine on one end of the line.
TEST(HandheldSide, ServesAFullBackupOfOurOwnPcSideWhichTakesItForABaseModel) {
  LineFixture f({.echo_a = true, .echo_b = true});
  f.UseLog();
  transfer::ResetPreviousTelephoneKey();
  store::SortTable weights{};
  for (int b = 0; b < 256; ++b) weights[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
  f.run.telephone.weights = &weights;
  f.run.appliKind = store::AllApplis;
  f.run.fileName = f.dir.File("backup.bkf");

  store::AppliStore organizerStore;
  LinkEngine organizer(f.clock);
  organizer.Link().SetPortOpener(
      [&](int, int, std::string&) { return f.line.Open(VirtualLine::End::B); });
  const std::string organizerLog = f.dir.File("organizer.log");
  organizer.Log().SetFileName(organizerLog);
  RunContext organizerRun(organizer);
  organizerRun.store = &organizerStore;
  organizerRun.dumpDirectory = f.dir.path().string();
  testsupport::RecordingOwner organizerOwner;
  const auto applications = EveryApplication();
  for (const auto& [kind, records] : applications) {
    WriteBytes(DumpFilePath(organizerRun.dumpDirectory, kind, DumpDirection::Send),
               RecordStream(records));
  }

  link::StepResult backup{link::LinkStatus{-1}};
  link::StepResult served{link::LinkStatus{-1}};
  std::latch registered(2);
  std::thread pc([&] {
    platform::VirtualClock::Participant participant(f.clock);
    registered.arrive_and_wait();
    backup = RunCommunication(f.run, f.owner.Front(), settings::RunMode::Backup);
  });
  std::thread organizerSide([&] {
    platform::VirtualClock::Participant participant(f.clock);
    registered.arrive_and_wait();
    served =
        RunCommunication(organizerRun, organizerOwner.Front(), settings::RunMode::HandheldSide);
  });
  pc.join();
  organizerSide.join();

  const std::string pcLog = f.LogText();
  EXPECT_EQ(backup, LinkOk) << pcLog;
  EXPECT_EQ(f.engine.ModelVariant(), VariantE);
  EXPECT_TRUE(
      LinesInOrder(pcLog, {"---PC sends GET_DEVICE_INFORMATION\n\n", "---HDD is PELLICO\n\n"}))
      << pcLog;
  EXPECT_GE(applications.at(store::Telephone).size(), 2u);
  EXPECT_EQ(FileBytes(f.run.fileName), ExpectedArchive(applications));

  const std::string log = testsupport::ReadFile(organizerLog);
  EXPECT_EQ(served, LinkOk) << log;
  EXPECT_EQ(organizerOwner.shown(), std::vector<std::string>{"BYE!!"});
  EXPECT_TRUE(LinesInOrder(
      log, {"---HDD sends DEVICE_INFORMATION\n\n", "---HDD receives GET_DEVICE_INFORMATION\n\n",
            "---HDD receives GET_ALL_RECORDS\n\n", "---HDD receives GET_EXPENSE_CATEGORY\n\n",
            "---HDD receives GET_ALL_RECORDS\n\n", "---HDD receives END_COMMUNICATION\n\n",
            "##### END COMMUNICATION #####\n\n"}))
      << log;
  EXPECT_EQ(testsupport::CountOf(log, "---HDD sends FINISH_ALL_RECORDS"), 6);
}

// The scripted PC's side of the opening: take LINK_REQUEST, answer ACK, take
// DEVICE_INFORMATION.
void OpenAsPc(FarEnd& far) {
  EXPECT_EQ(far.ReceiveCommand(), CommandFrame(LINK_REQUEST));
  far.SendCommand(ACK);
  EXPECT_EQ(far.ReceiveCommand(), (Bytes{0x7F, 0x08, 0x00, 0x02, 0x89}));
}

// A fixture in which the engine plays the organizer and the far end the PC.
struct OrganizerLine : testing::DumpLine {
  link::StepResult Serve(const std::function<void(FarEnd&)>& pc, std::uint32_t* elapsed = nullptr) {
    return RunOpen([this] { return RunHandheldSide(run, owner.Front()); },
                   [&](FarEnd& far) {
                     OpenAsPc(far);
                     pc(far);
                   },
                   elapsed);
  }
};

TEST(HandheldSide, AcknowledgesLeavesTheProbeUnansweredAndEndsOnNack) {
  OrganizerLine f;
  const Bytes memo = RecordStream({Text("kept")});
  WriteBytes(f.Dump(store::Memo, DumpDirection::Send), memo);
  WriteBytes(f.Dump(store::Telephone, DumpDirection::Send), {});
  std::vector<Bytes> answers;
  const link::StepResult status = f.Serve([&](FarEnd& far) {
    far.SendCommand(ACK);
    answers.push_back(far.ReceiveCommand());
    far.SendCommand(DELETE_ALL_RECORDS, store::Memo, 0);
    answers.push_back(far.ReceiveCommand());
    far.SendCommand(GET_DEVICE_INFORMATION);
    answers.push_back(far.Receive(1, 1000));
    // Telephone's dump holds nothing: not even FINISH_ALL_RECORDS comes.
    far.SendCommand(GET_ALL_RECORDS, store::Telephone, 0);
    answers.push_back(far.Receive(1, 2000));
    far.SendCommand(NACK);
  });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(answers, (std::vector<Bytes>{CommandFrame(ACK), CommandFrame(ACK), {}, {}}));
  EXPECT_EQ(f.owner.shown(), std::vector<std::string>{"BYE!!"});
  EXPECT_EQ(FileBytes(f.Dump(store::Memo, DumpDirection::Send)), memo);
  EXPECT_FALSE(std::filesystem::exists(f.Dump(store::Memo, DumpDirection::Receive)));
  const std::string log = f.LogText();
  EXPECT_TRUE(LinesInOrder(
      log, {"---HDD receives ACK\n\n", "---HDD sends ACK\n\n",
            "---HDD receives DELETE_ALL_RECORDS\n\n", "---HDD sends ACK\n\n",
            "---HDD receives GET_DEVICE_INFORMATION\n\n", "---HDD receives GET_ALL_RECORDS\n\n",
            "---Pass (This appli is NO data)\n\n", "---HDD receives NACK\n\n"}))
      << log;
}

TEST(HandheldSide, GetAllRecordsServesTheNamedApplicationElseSchedule) {
  const std::vector<Bytes> phones = {Text("1Adams"), Bytes(300, 'p')};
  const std::vector<Bytes> dates = {Text("20261210093000Dentist")};
  const struct {
    std::uint8_t p1, p2;
    std::uint8_t code;  // application code of the packets that come
    std::vector<Bytes> records;
  } cases[] = {{5, 0, 5, phones}, {6, 0, 0, dates}, {0, 0, 0, dates}, {3, 1, 0, dates}};
  for (const auto& c : cases) {
    OrganizerLine f;
    WriteBytes(f.Dump(store::Telephone, DumpDirection::Send), RecordStream(phones));
    WriteBytes(f.Dump(store::Schedule, DumpDirection::Send), RecordStream(dates));
    std::vector<Bytes> expected;
    for (const Bytes& record : c.records) {
      for (const Bytes& packet : RecordPackets(c.code, record)) expected.push_back(packet);
    }
    expected.push_back(CommandFrame(FINISH_ALL_RECORDS));
    std::vector<Bytes> seen;
    const link::StepResult status = f.Serve([&](FarEnd& far) {
      far.SendCommand(GET_ALL_RECORDS, c.p1, c.p2);
      for (const Bytes& frame : expected) {
        seen.push_back(far.Receive(frame.size()));
        if (frame != CommandFrame(FINISH_ALL_RECORDS)) far.SendCommand(ACK);
      }
      far.SendCommand(END_COMMUNICATION);
    });
    EXPECT_EQ(status, LinkOk) << int{c.p1} << "," << int{c.p2};
    EXPECT_EQ(seen, expected) << int{c.p1} << "," << int{c.p2};
  }
}

// A restore of one application: the records go to the ".rcv" file of the
// current application, and the PC's END_COMMUNICATION, which ends the
// receive, ends the emulation too instead of leaving it to time out.
TEST(HandheldSide, ARestoreLandsInTheRcvFileAndItsEndEndsTheRun) {
  OrganizerLine f;
  SetAppliMode(f.run, "Memo");
  const std::vector<Bytes> memos = {Bytes(300, 'm'), Text("two")};
  std::uint32_t elapsed = 0;
  std::vector<Bytes> answers;
  const link::StepResult status = f.Serve(
      [&](FarEnd& far) {
        far.SendCommand(DELETE_ALL_RECORDS, store::Memo, 0);
        answers.push_back(far.ReceiveCommand());
        for (const Bytes& record : memos) {
          for (const Bytes& packet : RecordPackets(store::Memo, record)) {
            far.SendCommand(SEND_1_RECORD);
            answers.push_back(far.ReceiveCommand());
            far.Send(packet);
            answers.push_back(far.ReceiveCommand());
          }
        }
        far.SendCommand(END_COMMUNICATION);
      },
      &elapsed);
  EXPECT_EQ(status, LinkOk) << f.LogText();
  EXPECT_EQ(answers, std::vector<Bytes>(7, CommandFrame(ACK)));
  EXPECT_EQ(FileBytes(f.Dump(store::Memo, DumpDirection::Receive)), RecordStream(memos));
  EXPECT_EQ(f.owner.shown(), std::vector<std::string>{"BYE!!"});
  EXPECT_LT(elapsed, 10000u);
}

TEST(HandheldSide, TakesTheExpenseCategoryTableAndGoesOn) {
  OrganizerLine f;
  const Bytes table = Text("Food Rent");
  std::vector<Bytes> answers;
  const link::StepResult status = f.Serve([&](FarEnd& far) {
    far.SendCommand(SEND_EXPENSE_CATEGORY);
    answers.push_back(far.ReceiveCommand());
    far.Send(DataPacketFrame(store::ExpenseCategory, 0x00, static_cast<int>(table.size()), table));
    answers.push_back(far.ReceiveCommand());
    far.SendCommand(END_COMMUNICATION);
  });
  EXPECT_EQ(status, LinkOk);
  EXPECT_EQ(answers, std::vector<Bytes>(2, CommandFrame(ACK)));
  EXPECT_EQ(FileBytes(f.Dump(store::ExpenseCategory, DumpDirection::Receive)),
            RecordStream({table}));
  EXPECT_TRUE(LinesInOrder(f.LogText(), {"---HDD receives SEND_EXPENSE_CATEGORY\n\n",
                                         "---HDD receives END_COMMUNICATION\n\n"}));
}

// The PC starts a restore with one short record.
void SendOneRecord(FarEnd& far) {
  far.SendCommand(SEND_1_RECORD);
  far.ReceiveCommand();
  far.Send(RecordPackets(store::Schedule, Text("x"))[0]);
  far.ReceiveCommand();
}

TEST(HandheldSide, EndsWithTheStatusOfWhatItCannotServe) {
  const struct {
    const char* name;
    std::function<void(FarEnd&)> pc;
    LinkStatus status;
    const char* line;
  } cases[] = {
      {"LINK_REQUEST", [](FarEnd& far) { far.SendCommand(LINK_REQUEST); }, LinkIoError,
       "---!!!Receive Unknown Command\n\n"},
      {"DEVICE_INFORMATION", [](FarEnd& far) { far.SendCommand(DEVICE_INFORMATION, 0, 2); },
       LinkIoError, "---!!!Receive Unknown Command\n\n"},
      {"FINISH_ALL_RECORDS", [](FarEnd& far) { far.SendCommand(FINISH_ALL_RECORDS); }, LinkIoError,
       "---!!!Receive Unknown Command\n\n"},
      // Only the command loop takes the variant probe; between the records of
      // a receive it is no command at all.
      {"probe inside a receive",
       [](FarEnd& far) {
         SendOneRecord(far);
         far.SendCommand(GET_DEVICE_INFORMATION);
       },
       LinkIoError, "!!!NOT Command (Wait Command2)\n\n"},
      // A multi-application restore sends the table while the records'
      // receive still waits for END_COMMUNICATION.
      {"table inside a receive",
       [](FarEnd& far) {
         SendOneRecord(far);
         far.SendCommand(SEND_EXPENSE_CATEGORY);
       },
       LinkIoError, "---!!!Receive Another Command\n\n"},
      {"no dump to send", [](FarEnd& far) { far.SendCommand(GET_ALL_RECORDS, store::Memo, 0); },
       LinkFileIncompatible, "!!! File("},
      {"silence", [](FarEnd&) {}, LinkTimeout, "!!!Time Out(Wait Command) Break\n\n"},
  };
  for (const auto& c : cases) {
    OrganizerLine f;
    const link::StepResult status = f.Serve(c.pc);
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(f.engine.Status(), c.status) << c.name;
    EXPECT_NE(f.LogText().find(InLog(c.line)), std::string::npos) << c.name << f.LogText();
    EXPECT_TRUE(f.owner.shown().empty()) << c.name;
  }
}

}  // namespace
}  // namespace orgalink::operations
