// SPDX-License-Identifier: GPL-3.0-or-later
// What the dialogs tell after a backup or restore that went through, and
// what they offer after a restore that failed half way.

#include "ui/run_summary.h"

#include <gtest/gtest.h>

#include "ui/put_back_question.h"
#include "ui/safety_restore_offer.h"

namespace orgalink::ui {
namespace {

TEST(RunSummary, NamesTheArchiveEachApplicationsRecordsAndTheTime) {
  RunFacts backup;
  backup.archive = "/home/u/20261211-2.bkf";
  // By application number: Schedule 0 ... expense category 6.
  backup.counts = {3, 0, 1, 12, 5, 24, 2};
  backup.elapsedMs = 3449;
  EXPECT_EQ(RunSummary(backup),
            "Backup written to /home/u/20261211-2.bkf\n"
            "Telephone: 24 records\n"
            "Schedule: 3 records\n"
            "Anniversary: 0 records\n"
            "To Do: 1 record\n"
            "Memo: 12 records\n"
            "Expense Category: 2 records\n"
            "Expense: 5 records\n"
            "Time taken: 3.4 s");

  RunFacts restore;
  restore.restore = true;
  restore.archive = "/a.bkf";
  restore.counts[5] = 7;
  restore.elapsedMs = 61960;
  restore.safetyArchive = "/b/before-restore-20261211-101500.bkf";
  EXPECT_EQ(RunSummary(restore),
            "Restored /a.bkf\n"
            "Telephone: 7 records\n"
            "Time taken: 62.0 s\n"
            "Safety backup of the organizer before the restore: "
            "/b/before-restore-20261211-101500.bkf");

  // A merge tells what each application kept and gained instead of its count.
  restore.mergeLines = {"Telephone: 3 kept, 2 added"};
  EXPECT_EQ(RunSummary(restore),
            "Merged /a.bkf into the organizer\n"
            "Telephone: 3 kept, 2 added\n"
            "Time taken: 62.0 s\n"
            "Safety backup of the organizer before the restore: "
            "/b/before-restore-20261211-101500.bkf");

  backup.counts.fill(-1);
  backup.readBackProblem = "Permission denied";
  EXPECT_EQ(RunSummary(backup),
            "Backup written to /home/u/20261211-2.bkf\n"
            "The archive could not be read back: Permission denied\n"
            "Time taken: 3.4 s");
}

TEST(SafetyRestoreQuestion, OfferedOnlyForACopyOfAnOrganizerThatWasEmptied) {
  const struct {
    const char* writtenTo;
    bool deletionsBegun;
    bool failed;
    bool offered;
  } rows[] = {
      {"/b/s.bkf", true, false, true},
      {"/b/s.bkf", false, false, false},
      {"", true, false, false},
      {"", false, true, false},
  };
  for (const auto& row : rows) {
    SafetyCopy copy;
    copy.writtenTo = row.writtenTo;
    copy.deletionsBegun = row.deletionsBegun;
    copy.failed = row.failed;
    const std::string question = SafetyRestoreQuestion(copy);
    EXPECT_EQ(!question.empty(), row.offered) << row.writtenTo << row.deletionsBegun;
    if (row.offered) {
      EXPECT_NE(question.find("/b/s.bkf\nRestore that safety backup now?"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace orgalink::ui

namespace orgalink::ui {
namespace {

TEST(PutBackQuestion, ListsWhatIsAddedUpToADozen) {
  EXPECT_EQ(PutBackQuestion("Telephone", {"Ann | 555"}),
            "Put 1 record back into Telephone on the organizer?\n\n"
            "The organizer keeps every record it holds and gains those of these it lacks. Its "
            "contents are first copied to a safety backup.\n"
            "\n  Ann | 555");
  const std::string many = PutBackQuestion("Memo", std::vector<std::string>(14, "note"));
  EXPECT_NE(many.find("Put 14 records back into Memo"), std::string::npos);
  EXPECT_NE(many.find("\n  note\n  and 2 more"), std::string::npos) << many;
}

}  // namespace
}  // namespace orgalink::ui
