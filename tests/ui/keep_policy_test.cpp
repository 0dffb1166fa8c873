// SPDX-License-Identifier: GPL-3.0-or-later
// The backup folder's archive names and the keep rules of prune and of
// watch's [Prune] section: which archives go, decided from the names alone.

#include "ui/keep_policy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/ini_document.h"
#include "support/temp_dir.h"
#include "ui/prune_folder.h"
#include "ui/prune_settings.h"

namespace orgalink::ui {
namespace {

TEST(FolderArchiveNames, OnlyTheProgramsOwnNamesAreArchivesOfTheFolder) {
  struct Case {
    const char* name;
    bool archive;
    FolderArchiveKind kind = FolderArchiveKind::Dated;
    int number = 1;
  };
  const Case cases[] = {
      {"20261210.bkf", true},
      {"20261210-2.bkf", true, FolderArchiveKind::Dated, 2},
      {"20261210-99999.bkf", true, FolderArchiveKind::Dated, 99999},
      {"before-restore-20261210-134501.bkf", true, FolderArchiveKind::Safety},
      {"before-restore-20261210-134501-3.bkf", true, FolderArchiveKind::Safety, 3},
      // Not a day of the calendar, not a number a taken name gives way to,
      // or a name of the user's own: never touched.
      {"20261310.bkf", false},
      {"20260230.bkf", false},
      {"20261210-1.bkf", false},
      {"20261210-02.bkf", false},
      {"20261210-100000.bkf", false},
      {"20261210.BKF", false},
      {"20261210 copy.bkf", false},
      {"mine.bkf", false},
      {".20261210.bkf.tmp42-0-1a2b3c4d", false},
      {"before-restore-20261210.bkf", false},
      {"before-restore-20261210-246001.bkf", false},
  };
  for (const Case& c : cases) {
    const std::optional<FolderArchive> archive = ArchiveOfName(c.name);
    ASSERT_EQ(archive.has_value(), c.archive) << c.name;
    if (!archive) continue;
    EXPECT_EQ(archive->kind, c.kind) << c.name;
    EXPECT_EQ(archive->number, c.number) << c.name;
    EXPECT_EQ(archive->date, 20261210) << c.name;
  }
  EXPECT_EQ(ArchiveWhen(*ArchiveOfName("before-restore-20261210-134501.bkf")),
            "2026-12-10 13:45:01");
  EXPECT_EQ(ArchiveWhen(*ArchiveOfName("20261210.bkf")), "2026-12-10");
}

// Newest first. Weeks run Monday to Sunday: 7 December 2026 is a Monday.
const std::vector<std::string> kFolder = {
    "20261211-2.bkf", "20261211.bkf", "before-restore-20261209-101500.bkf",
    "20261210.bkf",   "20261207.bkf", "20261206.bkf",
    "20261130.bkf",   "20261115.bkf", "before-restore-20261101-080000.bkf",
    "20261031.bkf"};

// A sound archive: one Memo record.
const std::string kArchive(
    "IM2BK0\x02\x00\x01\x03\x00\x01"
    "ABC\xFF",
    16);

std::vector<FolderArchive> Archives(const std::vector<std::string>& names) {
  std::vector<FolderArchive> archives;
  for (const std::string& name : names) archives.push_back(*ArchiveOfName(name));
  std::sort(archives.begin(), archives.end(), NewerArchive);
  return archives;
}

std::vector<std::string> Removed(const std::vector<FolderArchive>& archives,
                                 const KeepPolicy& policy) {
  const std::vector<bool> remove = ArchivesToRemove(archives, policy);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < archives.size(); ++i) {
    if (remove[i]) names.push_back(archives[i].name);
  }
  return names;
}

TEST(KeepPolicy, EachRuleAndTheirCombinationKeepTheirArchives) {
  using Names = std::vector<std::string>;
  struct Case {
    const char* what;
    KeepPolicy policy;
    Names removed;
  };
  const Case cases[] = {
      {"no rule at all", {}, {}},
      {"last 2",
       {.last = 2},
       {"20261210.bkf", "20261207.bkf", "20261206.bkf", "20261130.bkf", "20261115.bkf",
        "20261031.bkf"}},
      {"daily 3: the newest of 11, 10 and 7 December",
       {.daily = 3},
       {"20261211.bkf", "20261206.bkf", "20261130.bkf", "20261115.bkf", "20261031.bkf"}},
      {"weekly 2: the newest of the week of 7 and of 30 November",
       {.weekly = 2},
       {"20261211.bkf", "20261210.bkf", "20261207.bkf", "20261130.bkf", "20261115.bkf",
        "20261031.bkf"}},
      {"monthly 3: the newest of December, November and October",
       {.monthly = 3},
       {"20261211.bkf", "20261210.bkf", "20261207.bkf", "20261206.bkf", "20261115.bkf"}},
      {"last 1, weekly 2 and monthly 3 together",
       {.last = 1, .weekly = 2, .monthly = 3},
       {"20261211.bkf", "20261210.bkf", "20261207.bkf", "20261115.bkf"}},
      {"daily 0 still keeps the newest",
       {.daily = 0},
       {"20261211.bkf", "20261210.bkf", "20261207.bkf", "20261206.bkf", "20261130.bkf",
        "20261115.bkf", "20261031.bkf"}},
      {"safety 1 alone leaves the dated backups",
       {.safety = 1},
       {"before-restore-20261101-080000.bkf"}},
      {"safety 0 with last 100",
       {.last = 100, .safety = 0},
       {"before-restore-20261209-101500.bkf", "before-restore-20261101-080000.bkf"}},
  };
  const std::vector<FolderArchive> archives = Archives(kFolder);
  for (const Case& c : cases) EXPECT_EQ(Removed(archives, c.policy), c.removed) << c.what;
}

// A damaged archive, newest of all, is neither removed nor kept in place of
// the newest sound one.
TEST(KeepPolicy, DryRunOnlyTellsAndTheRealRunRemovesOnlyThoseArchives) {
  testsupport::TempDir dir;
  const std::vector<std::string> others = {"mine.bkf", "notes.txt", "20261212.bkf"};
  for (const std::string& name : kFolder) std::ofstream(dir.File(name)) << kArchive;
  for (const std::string& name : others) std::ofstream(dir.File(name)) << name;
  const std::string folder = dir.path().string();
  const KeepPolicy policy{.last = 1, .weekly = 2, .monthly = 3, .safety = 1};
  const std::string gone[] = {"before-restore-20261101-080000.bkf", "20261115.bkf", "20261207.bkf",
                              "20261210.bkf", "20261211.bkf"};
  for (const bool dryRun : {true, false}) {
    std::ostringstream out;
    std::ostringstream err;
    const PruneResult result = PruneFolder(folder, policy, dryRun, out, err);
    EXPECT_EQ(result.status, 0) << err.str();
    EXPECT_NE(err.str().find("20261212.bkf: not a usable archive"), std::string::npos) << err.str();
    EXPECT_EQ(result.archives, kFolder.size() + 1);
    EXPECT_EQ(result.removed, std::size(gone));
    std::string expected;
    for (const std::string& name : gone) {
      expected += (dryRun ? "would remove " : "removed ") + folder + "/" + name + "\n";
    }
    EXPECT_EQ(out.str(), expected) << dryRun;
    for (const std::string& name : kFolder) {
      const bool removed = std::find(std::begin(gone), std::end(gone), name) != std::end(gone);
      EXPECT_EQ(std::filesystem::exists(dir.File(name)), dryRun || !removed) << name;
    }
    for (const std::string& name : others) EXPECT_TRUE(std::filesystem::exists(dir.File(name)));
  }
}

TEST(PruneSettings, TheSectionGivesThePolicyAndAnyWrongValueRemovesNothing) {
  struct Case {
    const char* text;
    KeepPolicy policy;
    bool problem;
  };
  const Case cases[] = {
      {"", {}, false},
      {"[Prune]\nKeepLast=3\nKeepDaily=7\nKeepWeekly=\nKeepMonthly=12\nKeepSafety=0\n",
       {.last = 3, .daily = 7, .monthly = 12, .safety = 0},
       false},
      {"[prune]\nkeepweekly=4\n", {.weekly = 4}, false},
      {"[Prune]\nKeepLast=3\nKeepDaily=seven\n", {}, true},
      {"[Prune]\nKeepLast=-1\n", {}, true},
      {"[Prune]\nKeepLast=3 days\n", {}, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems;
    const KeepPolicy policy =
        KeepPolicyFromDocument(platform::IniDocument::Parse(c.text), problems);
    EXPECT_EQ(!problems.empty(), c.problem) << c.text;
    EXPECT_EQ(policy.last, c.policy.last) << c.text;
    EXPECT_EQ(policy.daily, c.policy.daily) << c.text;
    EXPECT_EQ(policy.weekly, c.policy.weekly) << c.text;
    EXPECT_EQ(policy.monthly, c.policy.monthly) << c.text;
    EXPECT_EQ(policy.safety, c.policy.safety) << c.text;
  }
}

TEST(PruneSettings, WatchAppliesTheSectionOfTheSettingsFile) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  for (const char* name : {"20261209.bkf", "20261210.bkf", "20261211.bkf"}) {
    std::ofstream(dir.File(name)) << kArchive;
  }
  struct Step {
    const char* settings;
    int status;
    const char* report;
    bool errors;
  };
  const std::string folder = dir.path().string();
  const Step steps[] = {
      {"[Path]\n", 0, "", false},
      {"[Prune]\nKeepLast=one\n", 1, "", true},
      {"[Prune]\nKeepLast=2\n", 0, "removed 20261209.bkf\n", false},
  };
  for (const Step& step : steps) {
    std::ofstream(ini) << step.settings;
    std::ostringstream report;
    std::ostringstream err;
    EXPECT_EQ(ApplyPrunePolicyFromSettings(ini, folder, report, err), step.status) << step.settings;
    std::string expected = step.report;
    if (!expected.empty()) expected.insert(8, folder + "/");
    EXPECT_EQ(report.str(), expected) << step.settings;
    EXPECT_EQ(!err.str().empty(), step.errors) << err.str();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("20261209.bkf")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("20261210.bkf")));
}

}  // namespace
}  // namespace orgalink::ui
