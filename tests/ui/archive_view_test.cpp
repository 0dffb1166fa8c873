// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's model of an archive, without a window: applications, rows
// and columns, the filter, and what it shows of a damaged archive.

#include "ui/archive_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/charset.h"
#include "store/code_tables.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "ui/archive_view_file.h"

namespace orgalink::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kData = std::string(ORGALINK_SOURCE_DIR) + "/data/";

class ArchiveViewTest : public ::testing::Test {
 protected:
  ArchiveViewTest() { store::LoadCodeTables(kData, outgoing_, incoming_); }

  ArchiveView View(const Bytes& file) { return ArchiveView(file, codec_); }

  std::vector<std::size_t> RecordsShown(const ArchiveView& view) {
    std::vector<std::size_t> numbers;
    for (const ArchiveView::Row& row : view.Rows()) numbers.push_back(row.record);
    return numbers;
  }

  const Bytes sample_ = testsupport::FileBytes(kData + "sample_organizer.bkf");

 private:
  store::CodeTable outgoing_{};
  store::CodeTable incoming_{};
  platform::Charset charset_{"ISO-8859-1"};
  store::RecordCodec codec_{incoming_, outgoing_, charset_};
};

TEST_F(ArchiveViewTest, ListsTheApplicationsAndShowsTheChosenOnesRecordsByField) {
  ArchiveView view = View(sample_);
  EXPECT_FALSE(view.Damaged());
  std::vector<std::string> listed;
  for (const auto& application : view.Applications()) {
    listed.push_back(application.name + " " + std::to_string(application.records));
  }
  EXPECT_EQ(listed,
            (std::vector<std::string>{"Telephone 24", "Schedule 8", "Anniversary 5", "To Do 6",
                                      "Memo 6", "Expense Category 1", "Expense 8"}));
  view.Select(0);
  EXPECT_EQ(view.Columns(),
            (std::vector<std::string>{"Binary (hex)", "Field 1", "Field 2", "Field 3", "Field 4"}));
  ASSERT_EQ(view.Rows().size(), 24u);
  const ArchiveView::Row& karin = view.Rows()[21];
  EXPECT_EQ(karin.record, 22u);
  EXPECT_EQ(karin.cells, (std::vector<std::string>{"01", "Müller, Karin", "+1 555 1740",
                                                   "North Bank", "Karin.Mueller@example.com"}));
  view.Select(6);
  EXPECT_EQ(view.Rows()[0].cells[0].size(), 33u * 2) << "Expense's 33 bytes of binary fields";
}

TEST_F(ArchiveViewTest, TheFilterKeepsRowsWithTheTextInAnyFieldWhateverItsCase) {
  ArchiveView view = View(sample_);
  view.Select(0);
  struct Case {
    const char* filter;
    std::vector<std::size_t> records;
  };
  const Case cases[] = {
      {"MÜLLER", {22}},            // upper case beyond ASCII
      {"grün", {11}},              // in the first field
      {"acme tools", {1, 9, 17}},  // in the third
      {"@EXAMPLE.com", std::vector<std::size_t>(24)},
      {"nobody", {}},
  };
  for (const Case& c : cases) {
    view.SetFilter(c.filter);
    std::vector<std::size_t> expected = c.records;
    if (expected.size() == 24) {
      for (std::size_t i = 0; i < 24; ++i) expected[i] = i + 1;
    }
    EXPECT_EQ(RecordsShown(view), expected) << c.filter;
  }
  // The filter stays when another application is chosen.
  view.SetFilter("karin");
  view.Select(1);
  EXPECT_EQ(RecordsShown(view), (std::vector<std::size_t>{3}));
  view.SetFilter("");
  EXPECT_EQ(view.Rows().size(), 8u);
}

TEST_F(ArchiveViewTest, ADamagedArchiveShowsWhatInspectSaysAndWhatCanBeRead) {
  // Memo twice: readable, but refused by a restore.
  const Bytes twice = {'I', 'M', '2', 'B', 'K', '0', 2, 0, 2, 3, 0, 1, 'A', 0xFF, 3, 0, 0};
  ArchiveView duplicate = View(twice);
  EXPECT_TRUE(duplicate.Damaged());
  EXPECT_NE(duplicate.Report().find("Memo occurs twice, in sections 1 and 2"), std::string::npos)
      << duplicate.Report();
  EXPECT_EQ(duplicate.Applications().size(), 2u);

  Bytes cut(sample_.begin(), sample_.begin() + 100);
  ArchiveView truncated = View(cut);
  EXPECT_TRUE(truncated.Damaged());
  EXPECT_NE(truncated.Report().find(
                "not a usable archive: section 1 of 7 (Telephone): record 2 of 24 runs past the "
                "end of the file"),
            std::string::npos)
      << truncated.Report();
  EXPECT_TRUE(truncated.Applications().empty());
  truncated.Select(0);
  EXPECT_TRUE(truncated.Rows().empty());
}

TEST_F(ArchiveViewTest, ARecordKeptWholeShowsAllItsBytesInTheHexColumn) {
  // 0xFE comes in as a space, which goes out as a space: kept whole.
  const Bytes file = {'I', 'M', '2', 'B', 'K', '0', 2,    0, 1,    5,
                      0,   2,   1,   'A', 0,   'B', 0xFF, 2, 0xFE, 0xFF};
  ArchiveView view = View(file);
  view.Select(0);
  ASSERT_EQ(view.Rows().size(), 2u);
  EXPECT_TRUE(view.Rows()[0].readable);
  EXPECT_FALSE(view.Rows()[1].readable);
  EXPECT_EQ(view.Rows()[1].cells, (std::vector<std::string>{"02FE", "", ""}));
  view.SetFilter("02fe");
  EXPECT_EQ(RecordsShown(view), (std::vector<std::size_t>{2}));
}

// The viewer opens a file by its path: what it shows, and whether there is
// anything to export, for a sound, a refused, a damaged, a missing and an
// endless file; a refused one in the words of every command.
TEST_F(ArchiveViewTest, AFileOpenedByPathIsReadAsInspectReadsIt) {
  testsupport::TempDir dir;
  const Bytes twice = {'I', 'M', '2', 'B', 'K', '0', 2, 0, 2, 3, 0, 1, 'A', 0xFF, 3, 0, 0};
  testsupport::WriteBytes(dir.File("twice.bkf"), twice);
  testsupport::WriteBytes(dir.File("cut.bkf"), Bytes(sample_.begin(), sample_.begin() + 100));
  // One Memo section of 300 records of 1000 bytes: more than the organizer holds.
  Bytes big = {'I', 'M', '2', 'B', 'K', '0', 2, 0, 1, 3, 300 >> 8, 300 & 0xFF};
  for (int r = 0; r < 300; ++r) {
    big.insert(big.end(), 1000, 'a');
    big.push_back(0xFF);
  }
  testsupport::WriteBytes(dir.File("big.bkf"), big);
  struct Case {
    std::string path;
    bool readable;
    std::size_t applications;
    std::string report;  // a part of it; empty for a sound archive
  };
  const Case cases[] = {
      {kData + "sample_organizer.bkf", true, 7, ""},
      {dir.File("twice.bkf"), true, 2, "Memo occurs twice"},
      {dir.File("cut.bkf"), false, 0, "record 2 of 24 runs past the end of the file"},
      {dir.File("big.bkf"), true, 1,
       dir.File("big.bkf") +
           ": not a usable archive: section 1 of 1 (Memo): 300300 bytes, more than the 256000 an "
           "application may hold\n"},
      {"/dev/zero", false, 0, "/dev/zero is larger than 4194304 bytes; no archive is\n"},
      {dir.File("none.bkf"), false, 0,
       dir.File("none.bkf") + ": cannot read the file: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const ArchiveView view = ViewArchiveFile(c.path, kData);
    EXPECT_EQ(view.Readable(), c.readable) << c.path;
    EXPECT_EQ(view.Applications().size(), c.applications) << c.path;
    EXPECT_EQ(view.Damaged(), !c.report.empty()) << c.path;
    EXPECT_NE(view.Report().find(c.report), std::string::npos) << view.Report();
    EXPECT_EQ(view.Archive().sections.size(), c.applications) << c.path;
  }
  const ArchiveView sample = ViewArchiveFile(kData + "sample_organizer.bkf", kData);
  EXPECT_EQ(sample.Charset(), "ISO-8859-1");
  EXPECT_EQ(sample.Archive().magic, "IM2BK0");
}

}  // namespace
}  // namespace orgalink::ui

namespace orgalink::ui {
namespace {

TEST(RowDescription, JoinsTheTextsAndCutsBetweenCharacters) {
  const struct {
    std::vector<std::string> cells;
    std::size_t width;
    std::string line;
  } rows[] = {
      {{"01 02", "Ann", "", "555"}, 60, "Ann | 555"},
      {{"01 02 41", "", ""}, 60, "01 02 41"},  // no text: the hex tells it apart
      {{"", "Zoë Ärger"}, 3, "Zoë..."},
      {{"", "Zoë"}, 3, "Zoë"},
  };
  for (const auto& row : rows) {
    ArchiveView::Row shown;
    shown.cells = row.cells;
    EXPECT_EQ(RowDescription(shown, row.width), row.line);
  }
}

}  // namespace
}  // namespace orgalink::ui
