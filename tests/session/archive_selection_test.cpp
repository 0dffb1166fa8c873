// SPDX-License-Identifier: GPL-3.0-or-later
// The records a merge takes from an archive: those the viewer's filter
// keeps, or those chosen in the viewer.

#include "session/archive_selection.h"

#include <gtest/gtest.h>

#include "store/appli_kind.h"

namespace orgalink {
namespace {

constexpr const char* kData = ORGALINK_SOURCE_DIR "/data/";
constexpr const char* kSample = ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf";

std::size_t Count(const store::ArchiveRecords& records, std::uint8_t application) {
  const store::RecordList* section = records.Find(application);
  return section == nullptr ? 0 : section->size();
}

TEST(ArchiveSelection, AMatchKeepsTheRowsTheViewersFilterKeepsInEverySection) {
  store::CheckedArchive checked;
  ASSERT_EQ(store::ReadArchiveFile(kSample, checked), store::StoreOk);
  store::ArchiveRecords all;
  store::ReadArchiveRecords(checked.image, all);
  struct Case {
    const char* text;
    std::size_t telephone;
    std::size_t memo;
  };
  // The sample's first contact is "Adams, Anna", Anna.Adams@example.com.
  for (const Case& c : {Case{"", 24, 6}, Case{"aDaMs", 1, 0}, Case{"no such text", 0, 0}}) {
    const store::ArchiveRecords matching = session::MatchingRecords(checked, kData, c.text);
    EXPECT_EQ(matching.sections.size(), all.sections.size()) << c.text;
    EXPECT_EQ(Count(matching, store::Telephone), c.telephone) << c.text;
    EXPECT_EQ(Count(matching, store::Memo), c.memo) << c.text;
  }
  EXPECT_EQ(session::MatchingRecords(checked, kData, "ADAMS").Find(store::Telephone)->front(),
            all.Find(store::Telephone)->front());
}

}  // namespace
}  // namespace orgalink
