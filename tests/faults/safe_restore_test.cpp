// SPDX-License-Identifier: GPL-3.0-or-later
// A restore cannot lose the organizer's data: it keeps a safety copy before
// it deletes anything, and stops untouched when it cannot.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "link/command_code.h"
#include "safe_restore_run.h"
#include "store/appli_kind.h"
#include "store/record_comparison.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "ui/safe_restore_texts.h"
#include "ui/verify_report.h"

namespace orgalink::faulttest {
namespace {

const std::vector<sim::Record> kMemos = {{'n', 'e', 'w'}, {'o', 'n', 'e', 's'}};

bool Heard(const SafeRestoreOutcome& outcome, std::uint8_t code) {
  return std::find(outcome.heard.begin(), outcome.heard.end(), code) != outcome.heard.end();
}

struct LateFailure {
  const char* name;
  sim::SimFaults faults;
  bool abortWhileSending;
};

// Whatever ends the restore once the organizer is empty, the safety copy
// holds what it held before, and restoring the copy puts that back.
TEST(SafeRestore, AFailureAfterTheDeletionsLeavesACopyThatPutsTheOrganizerBack) {
  const sim::OrganizerContents sample = SampleContents();
  // The safety copy's packets come first in the communication's count.
  const int copied = PacketsOf(sample);
  // Six deletions are acknowledged, then the first SEND_1_RECORD and packet.
  const LateFailure cases[] = {
      {"hang-up while sending", {.hang_up_at_packet = copied + 1}, false},
      {"NACK while sending", {.nack_at_ack = 8}, false},
      {"abort while sending", {}, true},
  };
  for (const LateFailure& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir dir;
    SafeRestoreSetup setup;
    setup.organizer.faults = c.faults;
    setup.before = sample;
    setup.archive = dir.File("memos.bkf");
    setup.safetyFolder = dir.File("DATA");
    std::filesystem::create_directory(setup.safetyFolder);
    WriteMemoArchive(setup.archive, kMemos);
    if (c.abortWhileSending) {
      setup.watch = [](const link::ProgressEvent& event, platform::CancelToken& abort) {
        if (event.kind == link::ProgressKind::Progress &&
            event.scope == link::ProgressScope::Operation && event.value == 10) {
          abort.Set();
        }
      };
    }
    const SafeRestoreOutcome failed = RunSafeRestore(setup);
    EXPECT_NE(failed.status, link::LinkOk);
    ASSERT_TRUE(failed.safety.written);
    EXPECT_TRUE(failed.safety.deletionsBegun);
    EXPECT_EQ(failed.safety.archive, dir.File("DATA/before-restore-20261210-134501.bkf"));
    EXPECT_TRUE(failed.after.Records(store::Telephone).empty());
    EXPECT_EQ(RecordsOfArchive(failed.safety.archive), RecordsOf(sample));
    const std::string note = ui::SafetyNote(Told(failed.safety), ui::RestoreFront::CommandLine);
    EXPECT_NE(note.find("orgalink restore " + failed.safety.archive), std::string::npos) << note;

    SafeRestoreSetup back;
    back.before = failed.after;
    back.archive = failed.safety.archive;
    back.safetyFolder = setup.safetyFolder;
    const SafeRestoreOutcome restored = RunSafeRestore(back);
    EXPECT_EQ(restored.status, link::LinkOk);
    EXPECT_EQ(RecordsOf(restored.after), RecordsOf(sample));
    // The second restore kept its own copy, under the next name.
    EXPECT_EQ(restored.safety.archive, dir.File("DATA/before-restore-20261210-134501-2.bkf"));
  }
}

struct EarlyFailure {
  const char* name;
  bool diskFull;
  bool folderIsAFile;
  link::LinkStatus status;
  const char* cause;
};

// A copy that cannot be written stops the restore before its first
// deletion: the organizer keeps everything, and is released as after any
// failure.
TEST(SafeRestore, ACopyThatCannotBeWrittenStopsTheRestoreWithTheOrganizerUntouched) {
  const EarlyFailure cases[] = {
      {"the disk is full", true, false, link::LinkFileReadCancelled, "No space left on device"},
      {"the folder cannot be written", false, true, link::LinkFileReadCancelled, "Not a directory"},
  };
  const sim::OrganizerContents sample = SampleContents();
  for (const EarlyFailure& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir dir;
    SafeRestoreSetup setup;
    setup.before = sample;
    setup.archive = dir.File("memos.bkf");
    WriteMemoArchive(setup.archive, kMemos);
    setup.disk_full = c.diskFull;
    setup.safetyFolder = dir.File("DATA");
    if (c.folderIsAFile) {
      std::ofstream(setup.safetyFolder) << "not a folder";
    } else {
      std::filesystem::create_directory(setup.safetyFolder);
    }
    const SafeRestoreOutcome outcome = RunSafeRestore(setup);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_TRUE(outcome.safety.failed);
    EXPECT_FALSE(outcome.safety.deletionsBegun);
    EXPECT_FALSE(Heard(outcome, link::DELETE_ALL_RECORDS));
    ASSERT_GE(outcome.heard.size(), 2u);
    EXPECT_EQ(outcome.heard.back(), link::END_COMMUNICATION);
    EXPECT_EQ(outcome.heard[outcome.heard.size() - 2], link::NACK);
    EXPECT_EQ(outcome.after, sample);
    EXPECT_NE(outcome.log.find("!!!Safety Backup Err (Nothing Deleted)"), std::string::npos);
    const std::string note = ui::SafetyNote(Told(outcome.safety), ui::RestoreFront::CommandLine);
    EXPECT_NE(note.find("Nothing on the organizer was changed"), std::string::npos) << note;
    EXPECT_NE(note.find("--no-safety-backup"), std::string::npos) << note;
    const auto why = note.find("It could not be written: ");
    EXPECT_NE(why, std::string::npos) << note;
    EXPECT_NE(note.find(c.cause, why), std::string::npos) << note;
  }
}

// The base model's Telephone transfer of BKTelRecordsMin records or fewer
// looks like an early stop. Before anything is deleted the copy asks for
// Telephone again, and two answers that agree are the organizer's contents:
// an organizer left with one record (by a restore cut short) is copied and
// restored like any other.
TEST(SafeRestore, AShortTelephoneAnswerIsAskedTwiceAndThenCopied) {
  sim::OrganizerContents one;
  const sim::OrganizerContents sample = SampleContents();
  const sim::TelephoneSort sort = sim::TelephoneSort::FromDirectory(ORGALINK_SOURCE_DIR "/data/");
  one.Add(store::Telephone, sample.Records(store::Telephone).front(), sort);
  testsupport::TempDir dir;
  SafeRestoreSetup setup;
  setup.organizer.variant = sim::SimVariant::E;
  setup.before = one;
  setup.archive = dir.File("memos.bkf");
  WriteMemoArchive(setup.archive, kMemos);
  setup.safetyFolder = dir.path().string();
  const SafeRestoreOutcome copied = RunSafeRestore(setup);
  EXPECT_EQ(copied.status, link::LinkOk);
  EXPECT_TRUE(copied.safety.written);
  EXPECT_NE(copied.log.find("---Telephone Asked Again (1 Records)"), std::string::npos);
  EXPECT_EQ(RecordsOfArchive(copied.safety.archive)[store::Telephone],
            one.Records(store::Telephone));
  EXPECT_EQ(copied.after.Records(store::Memo), kMemos);
}

// The organizer acknowledges every record of the restore but loses one;
// only reading it back shows that, and names the application.
TEST(VerifiedRestore, AReadBackFindsTheRecordTheOrganizerLost) {
  for (const int dropped : {0, 2}) {
    SCOPED_TRACE(dropped);
    testsupport::TempDir dir;
    SafeRestoreSetup setup;
    setup.organizer.faults.drop_record = dropped;
    setup.before = SampleContents();
    setup.archive = dir.File("memos.bkf");
    WriteMemoArchive(setup.archive, kMemos);
    const SafeRestoreOutcome restored = RunSafeRestore(setup);
    ASSERT_EQ(restored.status, link::LinkOk);

    operations::ReceivedStreams streams;
    ASSERT_EQ(ReadBack(restored.after, streams), link::LinkOk);
    store::ArchiveRecords archive;
    ASSERT_EQ(store::ReadArchiveRecords(testsupport::FileBytes(setup.archive), archive, nullptr),
              store::StoreOk);
    const auto compared = operations::CompareWithOrganizer(archive, streams, store::AllApplis);
    const std::string report = ui::VerifyReport(compared);
    if (dropped == 0) {
      EXPECT_TRUE(ui::AllMatch(compared));
      // The expense category is left as it was by a restore of an archive without it.
      EXPECT_EQ(report, "Verified: 2 records in 6 applications match");
    } else {
      EXPECT_FALSE(ui::AllMatch(compared));
      EXPECT_EQ(report,
                "Memo differs: 2 records in the archive, 1 on the organizer; 1 only in the "
                "archive, 0 only on the organizer\n"
                "Verify failed: the organizer does not hold what the archive holds.");
    }
  }
}

}  // namespace
}  // namespace orgalink::faulttest
