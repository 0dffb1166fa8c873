// SPDX-License-Identifier: GPL-3.0-or-later
// Every command judges an archive through one reader: hostile files are
// refused in the same words whether they come from a file or from memory,
// and the store used by a restore refuses the same ones.

#include "store/checked_archive.h"

#include <gtest/gtest.h>

#include <chrono>

#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "store/archive_limits.h"
#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Ascii;
using testing::Bytes;
using testing::Concat;
using testing::Stream;
using testing::TempDir;
using testing::WriteBytes;

Bytes Archive(std::uint8_t sections, const Bytes& body, const std::string& magic = "IM2BK0") {
  return Concat({Ascii(magic), {0x02, 0x00, sections}, body});
}

// One section of `records` records, each `length` bytes of 'a'.
Bytes Section(std::uint8_t application, std::size_t records, std::size_t length = 1) {
  Bytes section = {application, static_cast<std::uint8_t>(records >> 8),
                   static_cast<std::uint8_t>(records & 0xFF)};
  for (std::size_t r = 0; r < records; ++r) {
    section.insert(section.end(), length, 'a');
    section.push_back(0xFF);
  }
  return section;
}

struct Hostile {
  const char* name;
  Bytes file;
  StoreResult result;
  const char* problem;
  bool parsed;  // the sections could be walked, so inspect still shows them
};

std::vector<Hostile> HostileArchives() {
  return {
      {"an application over 256000 bytes", Archive(1, Section(Memo, 300, 1000)), StoreInvalid,
       "section 1 of 1 (Memo): 300300 bytes, more than the 256000 an application may hold", true},
      {"an unknown application", Archive(2, Concat({Section(Memo, 1), Section(200, 1)})),
       StoreInvalid,
       "section 2 of 2 (application 200): the organizer has no application of this number (it "
       "has 0 to 6)",
       true},
      {"a duplicated section", Archive(2, Concat({Section(Memo, 1), Section(Memo, 0)})),
       StoreDuplicate, "Memo occurs twice, in sections 1 and 2", true},
      {"a record without its terminator", Archive(1, {Memo, 0x00, 0x01, 'a', 'b'}), StoreInvalid,
       "section 1 of 1 (Memo): record 1 of 1 runs past the end of the file", false},
      {"a record longer than 1023 bytes", Archive(1, Section(Memo, 1, 1024)), StoreInvalid,
       "section 1 of 1 (Memo): record 1 of 1 is longer than 1023 bytes", false},
      {"more sections than an archive holds", Archive(8, {}), StoreInvalid,
       "8 sections, more than the 7 an archive holds", false},
  };
}

TEST(CheckedArchive, HostileArchivesAreRefusedInTheSameWordsFromFileAndMemoryAndByTheStore) {
  TempDir dir;
  for (const Hostile& c : HostileArchives()) {
    CheckedArchive in_memory;
    EXPECT_EQ(CheckArchiveBytes(c.file, in_memory), c.result) << c.name;
    EXPECT_EQ(in_memory.message, std::string("not a usable archive: ") + c.problem) << c.name;
    EXPECT_EQ(in_memory.parsed, c.parsed) << c.name;

    const std::string path = dir.File("hostile.bkf");
    WriteBytes(path, c.file);
    CheckedArchive from_file;
    EXPECT_EQ(ReadArchiveFile(path, from_file), c.result) << c.name;
    EXPECT_EQ(from_file.message, path + ": " + in_memory.message) << c.name;
    EXPECT_EQ(from_file.size, c.file.size()) << c.name;

    AppliStore store(dir.Dir());
    ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
    EXPECT_EQ(store.LoadArchive(path, nullptr), c.result) << c.name;
    EXPECT_EQ(store.AppliCount(), 0) << c.name << ": nothing half-read stays behind";
  }
}

TEST(CheckedArchive, TheLimitsThemselvesAreAccepted) {
  // 255 records of 1000 bytes: 255255 bytes, within 256000; all seven
  // applications; an inverted body.
  Bytes body = Section(Memo, 255, 1000);
  for (const std::uint8_t application :
       {Telephone, Schedule, Anniversary, ToDo, ExpenseCategory, Expense}) {
    const Bytes section = Section(application, 2);
    body.insert(body.end(), section.begin(), section.end());
  }
  for (std::uint8_t& byte : body) byte = static_cast<std::uint8_t>(~byte);
  CheckedArchive checked;
  EXPECT_EQ(CheckArchiveBytes(Archive(7, body, "IM2BK1"), checked), StoreOk) << checked.message;
  EXPECT_TRUE(checked.message.empty());
  EXPECT_EQ(checked.image.sections.size(), 7u);
}

TEST(CheckedArchive, OnlyTheDeviceCodeAskedForIsTaken) {
  const Bytes other = Concat({Ascii("IM2BK0"), {0x01, 0x00, 0x01}, Section(Memo, 1)});
  CheckedArchive checked;
  EXPECT_EQ(CheckArchiveBytes(other, checked), StoreOk);
  EXPECT_EQ(CheckArchiveBytes(other, checked, &ArchiveDeviceCode), StoreWrongDevice);
  EXPECT_EQ(checked.message, "not a usable archive: device code 01 00, expected 02 00");
}

TEST(CheckedArchive, AFileTooLongForAnArchiveIsNotReadToItsEnd) {
  TempDir dir;
  const std::string long_file = dir.File("long.bkf");
  WriteBytes(long_file, Archive(1, Bytes(MaxArchiveFileBytes, 0)));
  for (const std::string& path : {long_file, std::string("/dev/zero")}) {
    const auto start = std::chrono::steady_clock::now();
    CheckedArchive checked;
    EXPECT_EQ(ReadArchiveFile(path, checked), StoreInvalid) << path;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    EXPECT_EQ(checked.message, path + " is larger than 4194304 bytes; no archive is");
    EXPECT_FALSE(checked.read);

    AppliStore store(dir.Dir());
    ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
    EXPECT_EQ(store.LoadArchive(path, nullptr), StoreInvalid) << path << ": no retry helps";
  }
  CheckedArchive missing;
  EXPECT_EQ(ReadArchiveFile(dir.File("none.bkf"), missing), StoreFailed);
  EXPECT_EQ(missing.message,
            dir.File("none.bkf") + ": cannot read the file: No such file or directory");
}

}  // namespace
}  // namespace orgalink::store
