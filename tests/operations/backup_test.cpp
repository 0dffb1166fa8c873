// SPDX-License-Identifier: GPL-3.0-or-later
// The backup against a scripted organizer: the archive it writes, and the
// old archive it must leave alone whenever it cannot write a sound new one.

#include "operations/backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "support/organizer_script.h"
#include "support/transfer_peer.h"
#include "transfer/telephone_order.h"

namespace orgalink::operations {
namespace {

using namespace testsupport;
using link::LinkStatus;
using BoxKind = testsupport::ScriptedOwner::BoxKind;
using testsupport::CommandFrame;
using testsupport::LinesInOrder;
using testsupport::ReadFile;

const Bytes kAda = {0x01, 'A', 'd', 'a'};
const Bytes kBob = {0x02, 'B', 'o', 'b'};
const Bytes kSchedule = Text("20261210 0900 Dentist");
const Bytes kToDo = Text("call the plumber");
const Bytes kLongMemo = Text("a memo of many words ", 300);  // two packets
const Bytes kShortMemo = Text("milk");
const Bytes kTable = Text("Food,Rent,Fun");
const Bytes kExpense = Text("0123456789012345678901234567890123 lunch");

OrganizerData FullOrganizer() {
  OrganizerData data;
  data.records[store::Telephone] = {kAda, kBob};
  data.records[store::Schedule] = {kSchedule};
  data.records[store::ToDo] = {kToDo};
  data.records[store::Memo] = {kLongMemo, kShortMemo};
  data.records[store::Expense] = {kExpense};
  data.expenseCategory = kTable;  // Anniversary stays empty
  return data;
}

std::string AsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The archive of FullOrganizer, as written with FileScramble on; Anniversary
// brought no records and has no section.
std::string FullArchive() {
  return AsString(InvertedArchive({{store::Telephone, {kAda, kBob}},
                                   {store::Schedule, {kSchedule}},
                                   {store::ToDo, {kToDo}},
                                   {store::Memo, {kLongMemo, kShortMemo}},
                                   {store::ExpenseCategory, {kTable}},
                                   {store::Expense, {kExpense}}}));
}

// What the user kept from an earlier backup.
const std::string kOldArchive = AsString(PlainArchive({{store::Memo, {Text("old")}}}));

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    transfer::ResetPreviousTelephoneKey();
    for (int b = 0; b < 256; ++b)
      weights[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
    f.engine.Link().SetEchoBack(false);
    f.UseLog();
    f.run.telephone.weights = &weights;
    f.run.appliKind = store::AllApplis;
    f.run.fileName = archive;
  }

  link::StepResult Run(std::uint8_t mode, const OrganizerData& data, bool negotiate = true,
                       int faultAt = -1, Fault fault = Fault::None) {
    link::StepResult status{link::LinkStatus{-1}};
    f.Run([&] { status = RunCommunication(f.run, owner.Front(), settings::RunMode{mode}); },
          [&](FarEnd& far) { heard = PlayBackup(far, data, negotiate, faultAt, fault); });
    return status;
  }

  void WriteOldArchive() {
    std::FILE* file = std::fopen(archive.c_str(), "wb");
    std::fwrite(kOldArchive.data(), 1, kOldArchive.size(), file);
    std::fclose(file);
  }

  // What the test folder holds besides the log: no temporary file may stay.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "comm.log") names.push_back(name);
    }
    return names;
  }

  std::string Written() const { return ReadFile(archive); }

  testsupport::LineFixture f;
  store::SortTable weights{};
  ScriptedOwner owner;
  std::string archive = f.dir.File("backup.bkf");
  std::vector<Bytes> heard;
};

TEST_F(BackupTest, FullBackupWritesTheApplicationsInFullOrder) {
  WriteOldArchive();
  EXPECT_EQ(Run(1, FullOrganizer()), link::LinkOk);

  EXPECT_EQ(Written(), FullArchive());
  EXPECT_EQ(Files(), std::vector<std::string>{"backup.bkf"});
  EXPECT_EQ(heard,
            (std::vector<Bytes>{CommandFrame(12, 5), CommandFrame(12, 0), CommandFrame(12, 1),
                                CommandFrame(12, 2), CommandFrame(12, 3), CommandFrame(14),
                                CommandFrame(12, 4), CommandFrame(9)}));
  EXPECT_EQ(owner.milestones(),
            (std::vector<std::string>{"S100", "P10", "P50", "P60", "P70", "P80", "P90", "P100"}));
  ASSERT_EQ(owner.boxes().size(), 1u);
  EXPECT_EQ(owner.boxes()[0].text, "SUCCESS Backup\nTime:1sec");
  EXPECT_EQ(owner.boxes()[0].caption, "Backup");
  EXPECT_EQ(owner.boxes()[0].kind, BoxKind::Note);
  EXPECT_TRUE(LinesInOrder(
      f.LogText(),
      {"********** Backup 1 Appli **********\n", "---PC sends GET_ALL_RECORDS\n\n",
       "========== End Get All Record (2)==========\n\n",
       "********** End Backup 1 Appli **********\n\n", "---PC sends GET_EXPENSE_CATEGORY\n\n",
       "---PC sends END_COMMUNICATION\n\n", "====>>Write File (" + archive + ")\n\n",
       "BackupTime=1sec\n\n", "##### END COMMUNICATION #####\n\n"}))
      << f.LogText();
  EXPECT_EQ(testsupport::CountOf(f.LogText(), "********** End Backup 1 Appli"), 7);
  EXPECT_FALSE(f.store.HasTable());
}

struct FailureCase {
  const char* name;
  OrganizerData data;
  int faultAt;
  Fault fault;
  bool abort;
  LinkStatus status;
  const char* logLine;
};

class BackupFailure : public BackupTest, public ::testing::WithParamInterface<FailureCase> {};

OrganizerData WithTelephone(std::vector<Bytes> records) {
  OrganizerData data = FullOrganizer();
  data.records[store::Telephone] = std::move(records);
  return data;
}

TEST_P(BackupFailure, LeavesTheOldArchiveAsItWas) {
  const FailureCase& c = GetParam();
  WriteOldArchive();
  if (c.abort) f.AbortAt(f.clock.Now() + 5000);
  EXPECT_EQ(Run(1, c.data, true, c.faultAt, c.fault), c.status);
  EXPECT_EQ(Written(), kOldArchive);
  EXPECT_EQ(Files(), std::vector<std::string>{"backup.bkf"});
  ASSERT_GE(heard.size(), 2u);
  EXPECT_EQ(heard[heard.size() - 2], CommandFrame(21));  // NACK
  EXPECT_EQ(heard.back(), CommandFrame(9));
  EXPECT_TRUE(owner.boxes().empty());
  EXPECT_NE(f.LogText().find(testsupport::InLog(c.logLine)), std::string::npos) << f.LogText();
  EXPECT_EQ(f.LogText().find("Write File"), std::string::npos);
  EXPECT_FALSE(f.store.HasTable());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupFailure,
    ::testing::Values(
        FailureCase{"TelephoneOutOfOrder", WithTelephone({kBob, kAda}), -1, Fault::None, false,
                    link::LinkReceiveIncomplete, "!!!Receive Not Perfect1\n\n"},
        FailureCase{"TelephoneTooFew", WithTelephone({kAda}), -1, Fault::None, false,
                    link::LinkReceiveIncomplete, "!!!Receive Not Perfect2\n\n"},
        FailureCase{"FourthApplicationSilent", FullOrganizer(), store::ToDo, Fault::Silent, false,
                    link::LinkTimeout, "!!!Abort (Now RecordIdx=0)\n\n"},
        FailureCase{"FourthApplicationChecksum", FullOrganizer(), store::ToDo, Fault::BadChecksum,
                    false, link::LinkIoError, "!!!Abort (Now RecordIdx=0)\n\n"},
        FailureCase{"AbortInTheFourthApplication", FullOrganizer(), store::ToDo, Fault::Silent,
                    true, link::LinkAborted, "!!!Abort (Now RecordIdx=0)\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

enum class WriteTrouble { WriteFails, MissingFolder, VolumeFull };

struct WriteFailureCase {
  const char* name;
  WriteTrouble trouble;
  // "{folder}" stands for the archive's folder, "{archive}" for the archive,
  // "{needed}" for the bytes the archive needs.
  std::string text;
  std::string cause;
  int error;  // the errno the cause carries
};

// The free space a write of FullOrganizer asks for: the header, a section
// header for every one of the seven slots, and each record with its
// terminator and one byte more.
std::size_t SpaceNeeded() {
  std::size_t needed = 9 + 7 * 3;
  for (const Bytes& record :
       {kAda, kBob, kSchedule, kToDo, kLongMemo, kShortMemo, kTable, kExpense}) {
    needed += record.size() + 2;
  }
  return needed;
}

std::string Filled(std::string text, const std::string& key, const std::string& value) {
  const auto at = text.find(key);
  if (at != std::string::npos) text.replace(at, key.size(), value);
  return text;
}

class BackupWriteFailure : public BackupTest,
                           public ::testing::WithParamInterface<WriteFailureCase> {};

// The organizer is released before the write; then the user is asked after
// every failed attempt until Cancel. A write refused for want of space says
// so with the generic text, and the cause shows what was found.
TEST_P(BackupWriteFailure, RetryThenCancelGives17) {
  const WriteFailureCase& c = GetParam();
  const bool missingFolder = c.trouble == WriteTrouble::MissingFolder;
  if (missingFolder) {
    archive = f.dir.File("gone/backup.bkf");
    f.run.fileName = archive;
  } else {
    WriteOldArchive();
  }
  owner.SetAnswers({true, false});
  link::StepResult status{link::LinkStatus{-1}};
  {
    platform::ScopedWriteFault fault(0, ENOSPC);
    std::optional<platform::ScopedDiskFree> nearlyFull;
    if (c.trouble == WriteTrouble::VolumeFull) nearlyFull.emplace(100);
    status = Run(1, FullOrganizer());
  }
  EXPECT_EQ(status, link::LinkFileReadCancelled);
  EXPECT_EQ(heard.back(), CommandFrame(9));
  const auto fill = [&](const std::string& pattern) {
    return Filled(Filled(Filled(pattern, "{folder}", f.dir.File("gone")), "{archive}", archive),
                  "{needed}", std::to_string(SpaceNeeded()));
  };
  EXPECT_EQ(status.cause.Text(), fill(c.cause));
  EXPECT_EQ(status.cause.Error(), c.error);
  const auto boxes = owner.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.cause, fill(c.cause));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.kind, BoxKind::RetryOrCancel);
  }
  EXPECT_EQ(Written(), missingFolder ? "" : kOldArchive);
  EXPECT_EQ(Files(),
            missingFolder ? std::vector<std::string>{} : std::vector<std::string>{"backup.bkf"});
  EXPECT_TRUE(
      LinesInOrder(f.LogText(), {"---PC sends END_COMMUNICATION\n\n", "!!!Write File Err\n\n",
                                 "!!!Write File(" + archive + ") Err\n\n", "---PC sends NACK\n\n"}))
      << f.LogText();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupWriteFailure,
    ::testing::Values(
        WriteFailureCase{"DiskFull", WriteTrouble::WriteFails, std::strerror(ENOSPC),
                         "{archive}: " + std::string(std::strerror(ENOSPC)), ENOSPC},
        WriteFailureCase{"NoSpaceFound", WriteTrouble::MissingFolder, "Write file error.",
                         "{folder}: " + std::string(std::strerror(ENOENT)), ENOENT},
        WriteFailureCase{"VolumeFull", WriteTrouble::VolumeFull, "Write file error.",
                         std::string(std::strerror(ENOSPC)) + " (needs {needed} bytes, 100 free)",
                         ENOSPC}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberedCase {
  const char* name;
  std::string chosen;
  // Archives of other backups that took their names after `chosen` was chosen.
  std::vector<std::string> taken;
  std::string written;
};

class NumberedArchive : public BackupTest, public ::testing::WithParamInterface<NumberedCase> {};

// A dated archive was named while its name was free; by the time it is
// written, other backups may hold that name and the next ones. It goes under
// the first name still free and leaves the others as they were.
TEST_P(NumberedArchive, TakesTheNextFreeNumberAndLeavesTheOthersAlone) {
  const NumberedCase& c = GetParam();
  f.run.fileName = f.dir.File(c.chosen);
  f.run.numberedArchive = true;
  for (const std::string& name : c.taken) {
    std::ofstream(f.dir.File(name), std::ios::binary) << kOldArchive;
  }
  EXPECT_EQ(Run(1, FullOrganizer()), link::LinkOk);
  EXPECT_EQ(f.run.fileName, f.dir.File(c.written));
  EXPECT_EQ(ReadFile(f.dir.File(c.written)), FullArchive());
  std::vector<std::string> expected = c.taken;
  expected.push_back(c.written);
  std::vector<std::string> files = Files();
  std::sort(files.begin(), files.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files, expected);
  for (const std::string& name : c.taken) EXPECT_EQ(ReadFile(f.dir.File(name)), kOldArchive);
  EXPECT_NE(f.LogText().find("====>>Write File (" + f.dir.File(c.written) + ")"), std::string::npos)
      << f.LogText();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberedArchive,
    ::testing::Values(NumberedCase{"StillFree", "20261210.bkf", {}, "20261210.bkf"},
                      NumberedCase{
                          "TakenMeanwhile", "20261210.bkf", {"20261210.bkf"}, "20261210-2.bkf"},
                      NumberedCase{"TheNextTakenToo",
                                   "20261210-2.bkf",
                                   {"20261210-2.bkf", "20261210-3.bkf"},
                                   "20261210-4.bkf"}),
    [](const auto& info) { return std::string(info.param.name); });

// A disk that garbles a byte unnoticed: the read-back finds it before the
// old archive is replaced, and Retry then writes a sound one.
TEST_F(BackupTest, ArchiveThatReadsBackWrongIsAFailedWrite) {
  WriteOldArchive();
  owner.SetAnswers({true});
  link::StepResult status{link::LinkStatus{-1}};
  {
    platform::ScopedWriteCorruption corruption(20);
    status = Run(1, FullOrganizer());
  }
  EXPECT_EQ(status, link::LinkOk);
  const auto boxes = owner.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "The archive read back differs from what was written.");
  EXPECT_EQ(boxes[0].kind, BoxKind::RetryOrCancel);
  EXPECT_EQ(boxes[1].caption, "Backup");
  EXPECT_EQ(Written(), FullArchive());
  EXPECT_EQ(Files(), std::vector<std::string>{"backup.bkf"});
}

struct UnstorableCase {
  const char* name;
  Bytes codeTables;  // code.dat for the store; empty for none
  Bytes record;
  const char* logLine;
};

class UnstorableRecord : public BackupTest, public ::testing::WithParamInterface<UnstorableCase> {};

Bytes CodeTables(std::uint8_t outgoing80, std::uint8_t incoming80) {
  Bytes code(256, 0x20);
  code[0x80 - 0x7F] = outgoing80;
  code[128 + 0x80 - 0x7F] = incoming80;
  return code;
}

// A record that an archive could not give back fails the receive, and no
// archive is written.
TEST_P(UnstorableRecord, FailsTheReceiveWith11) {
  const UnstorableCase& c = GetParam();
  WriteOldArchive();
  std::filesystem::create_directories(f.dir.File("tables"));
  if (!c.codeTables.empty()) {
    std::FILE* file = std::fopen(f.dir.File("tables/code.dat").c_str(), "wb");
    std::fwrite(c.codeTables.data(), 1, c.codeTables.size(), file);
    std::fclose(file);
  }
  store::AppliStore converting(f.dir.File("tables") + "/");
  f.run.store = &converting;
  SetAppliMode(f.run, "Memo");
  OrganizerData data;
  data.records[store::Memo] = {Text("fine"), c.record};
  EXPECT_EQ(Run(7, data, false), link::LinkIoError);
  EXPECT_NE(f.LogText().find(testsupport::InLog(c.logLine)), std::string::npos) << f.LogText();
  EXPECT_EQ(Written(), kOldArchive);
  EXPECT_EQ(heard.back(), CommandFrame(9));
  EXPECT_FALSE(converting.HasTable());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnstorableRecord,
    ::testing::Values(UnstorableCase{"FromTheLine",
                                     {},
                                     {'a', 0xFF, 'b'},
                                     "!!!0xFF in Memo Record (Not Stored)\n\n"},
                      UnstorableCase{"ComingIn",
                                     CodeTables(0x80, 0xFF),
                                     {'a', 0x80},
                                     "!!!0xFF in Memo Record 2 after Code Conversion (Not "
                                     "Stored)\n\n"},
                      UnstorableCase{"GoingOut",
                                     CodeTables(0xFF, 0x80),
                                     {'a', 0x80},
                                     "!!!0xFF in Memo Record 2 after Code Conversion (Not "
                                     "Stored)\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StepCase {
  const char* name;
  std::vector<Bytes> memos;
};

class StepBackup : public BackupTest, public ::testing::WithParamInterface<StepCase> {};

// One application as a bare step: no negotiation, no END_COMMUNICATION, no
// milestones of its own, and a section only when it brought records.
TEST_P(StepBackup, WritesTheOneApplication) {
  const StepCase& c = GetParam();
  SetAppliMode(f.run, "Memo");
  OrganizerData data;
  data.records[store::Memo] = c.memos;
  EXPECT_EQ(Run(7, data, false), link::LinkOk);
  EXPECT_EQ(heard, std::vector<Bytes>{CommandFrame(12, 3)});
  EXPECT_TRUE(owner.milestones().empty());
  std::vector<std::pair<std::uint8_t, std::vector<Bytes>>> sections;
  if (!c.memos.empty()) sections.push_back({store::Memo, c.memos});
  EXPECT_EQ(Written(), AsString(InvertedArchive(sections)));
  EXPECT_TRUE(LinesInOrder(f.LogText(), {"********** Backup 1 Appli **********\n",
                                         "********** End Backup 1 Appli **********\n\n",
                                         "====>>Write File (" + archive + ")\n\n"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, StepBackup,
                         ::testing::Values(StepCase{"WithRecords", {kShortMemo, kLongMemo}},
                                           StepCase{"Empty", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orgalink::operations
