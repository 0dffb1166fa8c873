// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink history's reading of the backup folder: every archive of the
// program, newest first, a damaged one listed with its reason, and the
// changes counted against the nearest older archive that could be read.

#include "ui/archive_history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orgalink::ui {
namespace {

using Section = std::pair<std::uint8_t, std::vector<std::string>>;

// An archive as a backup writes it, its body not inverted.
std::string Archive(const std::vector<Section>& sections) {
  std::string file = "IM2BK0";
  file += {'\x02', '\x00', static_cast<char>(sections.size())};
  for (const auto& [application, records] : sections) {
    file += {static_cast<char>(application), static_cast<char>(records.size() >> 8),
             static_cast<char>(records.size() & 0xFF)};
    for (const std::string& record : records) file += record + '\xFF';
  }
  return file;
}

struct Expected {
  std::string name;
  bool problem;
  std::string comparedWith;
  std::vector<HistoryApplication> applications;
};

TEST(ArchiveHistory, FourArchivesOneDamagedAreListedWithTheirChanges) {
  testsupport::TempDir dir;
  auto put = [&dir](const std::string& name, const std::string& bytes) {
    std::ofstream(dir.File(name), std::ios::binary) << bytes;
  };
  const std::string oldest = Archive({{5, {"Ada", "Bob"}}, {3, {"first memo"}}});
  put("20251201.bkf", oldest);
  put("20251205.bkf", oldest.substr(0, oldest.size() - 4));  // cut short
  put("before-restore-20251207-093000.bkf",
      Archive({{5, {"Ada", "Bob", "Cy"}}, {3, {"first memo"}}}));
  put("20251210.bkf", Archive({{5, {"Ada", "Cy"}}, {0, {"Dentist"}}, {3, {"second memo"}}}));
  put("mine.bkf", oldest);

  std::vector<HistoryEntry> entries;
  ASSERT_EQ(ReadArchiveHistory(dir.path().string(), entries), 0);
  const std::vector<Expected> expected = {
      {"20251210.bkf",
       false,
       "before-restore-20251207-093000.bkf",
       {{5, 2, 0, 1}, {0, 1, 1, 0}, {3, 1, 1, 1}}},
      {"before-restore-20251207-093000.bkf", false, "20251201.bkf", {{5, 3, 1, 0}, {3, 1, 0, 0}}},
      {"20251205.bkf", true, "", {}},
      {"20251201.bkf", false, "", {{5, 2, 0, 0}, {3, 1, 0, 0}}},
  };
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const HistoryEntry& entry = entries[i];
    const Expected& want = expected[i];
    EXPECT_EQ(entry.archive.name, want.name);
    EXPECT_EQ(entry.path, dir.File(want.name));
    EXPECT_EQ(!entry.problem.empty(), want.problem) << want.name << ": " << entry.problem;
    EXPECT_EQ(entry.comparedWith, want.comparedWith) << want.name;
    ASSERT_EQ(entry.applications.size(), want.applications.size()) << want.name;
    for (std::size_t a = 0; a < want.applications.size(); ++a) {
      const HistoryApplication& got = entry.applications[a];
      const HistoryApplication& w = want.applications[a];
      EXPECT_EQ(std::tuple(got.application, got.records, got.added, got.removed),
                std::tuple(w.application, w.records, w.added, w.removed))
          << want.name << " #" << a;
    }
  }
  // The reason names no path: the line above it does.
  EXPECT_EQ(entries[2].problem.find(dir.path().string()), std::string::npos) << entries[2].problem;

  std::ostringstream text;
  PrintArchiveHistory(entries, text);
  EXPECT_EQ(text.str(),
            "2025-12-10  20251210.bkf  changes since before-restore-20251207-093000.bkf\n"
            "  Telephone: 2 (+0 -1)\n"
            "  Schedule: 1 (+1 -0)\n"
            "  Memo: 1 (+1 -1)\n"
            "2025-12-07 09:30:00  before-restore-20251207-093000.bkf  (safety copy)  changes "
            "since 20251201.bkf\n"
            "  Telephone: 3 (+1 -0)\n"
            "  Memo: 1\n"
            "2025-12-05  20251205.bkf\n"
            "  unusable: " +
                entries[2].problem +
                "\n"
                "2025-12-01  20251201.bkf\n"
                "  Telephone: 2\n"
                "  Memo: 1\n");

  // A backup that holds what the one before held says so.
  std::vector<HistoryEntry> same(1, entries[3]);
  same[0].comparedWith = "20251130.bkf";
  std::ostringstream unchanged;
  PrintArchiveHistory(same, unchanged);
  EXPECT_EQ(unchanged.str(),
            "2025-12-01  20251201.bkf  no change since 20251130.bkf\n  Telephone: 2\n  Memo: 1\n");
}

}  // namespace
}  // namespace orgalink::ui
