// SPDX-License-Identifier: GPL-3.0-or-later
// Archive file names: the extension rule, the remembered folder and the
// dated name of a backup.

#include "ui/archive_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/clock.h"
#include "support/temp_dir.h"
#include "ui/dated_backup_name.h"

namespace orgalink::ui {
namespace {

TEST(ArchiveNames, EnsureBackupExtension) {
  const struct {
    const char* chosen;
    const char* ensured;
  } rows[] = {
      {"backup.txt", "backup.txt.bkf"},
      {"backup.BKF", "backup.BKF"},
      {"backup.bkf  \t", "backup.bkf"},
      {"backup", "backup.bkf"},
      {"/home/me/my.dir/backup", "/home/me/my.dir/backup.bkf"},
      {"/home/me/backup.bKf", "/home/me/backup.bKf"},
      {"backup.bkf.old", "backup.bkf.old.bkf"},
      {"", ".bkf"},
  };
  for (const auto& row : rows) {
    std::string path = row.chosen;
    EnsureBackupExtension(path);
    EXPECT_EQ(path, row.ensured) << '"' << row.chosen << '"';
  }
}

TEST(ArchiveNames, DirectoryOf) {
  const struct {
    const char* path;
    const char* folder;
  } rows[] = {
      {"/home/me/Archives/backup.bkf", "/home/me/Archives"},
      {"Archives/backup.bkf", "Archives"},
      {"backup.bkf", ""},
      {"/backup.bkf", ""},
      {"C:\\Archives\\backup.bkf", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(DirectoryOf(row.path), row.folder) << row.path;
}

TEST(ArchiveNames, DatedNameIsEightDigitsOfToday) {
  platform::VirtualClock fixed;
  fixed.SetLocalTime("20261210");
  EXPECT_EQ(DatedBackupName(fixed), "20261210.bkf");
  // The real clock's pattern pads month and day to two digits.
  EXPECT_TRUE(
      std::regex_match(DatedBackupName(platform::SystemClock::Instance()),
                       std::regex("20[0-9]{2}(0[1-9]|1[0-2])(0[1-9]|[12][0-9]|3[01])\\.bkf")));
}

TEST(ArchiveNames, ASecondBackupOnTheSameDayGetsASuffix) {
  testsupport::TempDir dir;
  platform::VirtualClock clock;
  clock.SetLocalTime("20261210");
  const std::string folder = dir.path().string();
  EXPECT_EQ(FreeDatedBackupPath(folder, clock), dir.File("20261210.bkf"));
  std::ofstream(dir.File("20261210.bkf")) << "first";
  EXPECT_EQ(FreeDatedBackupPath(folder + "/", clock), dir.File("20261210-2.bkf"));
  // A gap is filled; a folder or a dangling link of that name counts as taken.
  std::filesystem::create_directory(dir.File("20261210-2.bkf"));
  std::filesystem::create_symlink(dir.File("gone"), dir.File("20261210-3.bkf"));
  std::ofstream(dir.File("20261210-5.bkf")) << "fifth";
  EXPECT_EQ(FreeDatedBackupPath(folder, clock), dir.File("20261210-4.bkf"));
  EXPECT_EQ(FreeDatedBackupPath("", clock), "20261210.bkf") << "no folder: the current one";
}

}  // namespace
}  // namespace orgalink::ui
