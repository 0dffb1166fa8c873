// SPDX-License-Identifier: GPL-3.0-or-later
// The archives the dialogs offer again, kept in the settings file.

#include "ui/recent_archives.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace orgalink::ui {
namespace {

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

using List = std::vector<std::string>;

TEST(RecentArchives, TheLastOneComesFirstOnceAndTheOldestGo) {
  const struct {
    List before;
    std::string path;
    List after;
  } rows[] = {
      {{}, "/a.bkf", {"/a.bkf"}},
      {{"/a.bkf", "/b.bkf"}, "/b.bkf", {"/b.bkf", "/a.bkf"}},
      {{"/1", "/2", "/3", "/4", "/5"}, "/6", {"/6", "/1", "/2", "/3", "/4"}},
      {{"/1", "/2", "/3", "/4", "/5"}, "/5", {"/5", "/1", "/2", "/3", "/4"}},
  };
  for (const auto& row : rows) EXPECT_EQ(RememberArchive(row.before, row.path), row.after);
}

// The list shares the settings file with what the user wrote there: saving
// it keeps every other key, and an archive gone since is not offered.
TEST(RecentArchives, KeptInTheSettingsFileBesideTheSettings) {
  testsupport::TempDir folder;
  const std::string settings = folder.File("Orgalink.ini");
  Write(settings, "[Settings]\nCOMPort=2\n");
  const std::string kept = folder.File("kept.bkf");
  const std::string gone = folder.File("gone.bkf");
  Write(kept, "x");
  ASSERT_EQ(SaveRecentArchives(settings, {gone, kept, kept}), 0);
  EXPECT_EQ(ReadRecentArchives(settings), List{kept});
  ASSERT_EQ(SaveRecentArchives(settings, {kept}), 0);
  const platform::ProfileRead read = platform::ReadProfile(settings);
  EXPECT_EQ(platform::ProfileInt(read.document, "Settings", "COMPort", 0), 2);
  EXPECT_EQ(platform::ProfileString(read.document, "Recent Archives", "File2", "?"), "");
  EXPECT_EQ(ReadRecentArchives(folder.File("missing.ini")), List{});
}

}  // namespace
}  // namespace orgalink::ui
