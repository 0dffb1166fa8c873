// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Ascii;
using testing::Bytes;
using testing::Concat;
using testing::ReadBytes;
using testing::Stream;
using testing::TempDir;
using testing::WriteBytes;

// The worked example: one Memo record 41 42 43 in both forms.
const Bytes kPlainMemo =
    Concat({Ascii("IM2BK0"), {0x02, 0x00, 0x01, 0x03, 0x00, 0x01}, {0x41, 0x42, 0x43, 0xFF}});
const Bytes kInvertedMemo =
    Concat({Ascii("IM2BK1"), {0x02, 0x00, 0x01, 0xFC, 0xFF, 0xFE}, {0xBE, 0xBD, 0xBC, 0x00}});

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk); }

  void Add(std::uint8_t kind, const Bytes& stream) {
    ASSERT_EQ(store.AddRecords(kind, stream), StoreOk);
  }
  StoreResult Load(const Bytes& file) {
    WriteBytes(path, file);
    return store.LoadArchive(path, nullptr);
  }
  Bytes Records(std::uint8_t kind) {
    Bytes stream;
    EXPECT_EQ(store.GetRecords(kind, stream), StoreOk);
    return stream;
  }

  TempDir dir;
  std::string path = dir.File("backup.bkf");
  AppliStore store{dir.Dir()};
};

TEST_F(ArchiveTest, WorkedExampleInBothForms) {
  Add(Memo, Stream({Ascii("ABC")}));
  EXPECT_EQ(store.SaveArchive(path, false, nullptr), StoreOk);
  EXPECT_EQ(ReadBytes(path), kPlainMemo);
  EXPECT_EQ(store.Magic(), "IM2BK0");
  EXPECT_EQ(store.SaveArchive(path, true, nullptr), StoreOk);
  EXPECT_EQ(ReadBytes(path), kInvertedMemo);
  EXPECT_EQ(store.Magic(), "IM2BK1");

  for (const Bytes& file : {kPlainMemo, kInvertedMemo}) {
    ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
    ASSERT_EQ(Load(file), StoreOk);
    EXPECT_EQ(store.AppliCount(), 1);
    EXPECT_EQ(Records(Memo), Stream({Ascii("ABC")}));
    EXPECT_EQ(store.Magic(), std::string(file.begin(), file.begin() + 6));
  }
}

// The old file stays on disk beside the new one until the new one is
// complete, so its size is never counted as free.
TEST_F(ArchiveTest, RequiredSpaceCountsEverySlotButNeverTheOldFile) {
  Add(Memo, Stream({Ascii("ABC")}));
  EXPECT_EQ(store.ArchiveSpaceRequired(), 35);
  WriteBytes(path, Bytes(100, 0));
  EXPECT_EQ(store.ArchiveSpaceRequired(), 35);
}

TEST_F(ArchiveTest, EmptyApplicationIsAThreeByteSection) {
  Add(Memo, Stream({}));
  ASSERT_EQ(store.SaveArchive(path, false, nullptr), StoreOk);
  EXPECT_EQ(ReadBytes(path), Concat({Ascii("IM2BK0"), {0x02, 0x00, 0x01, 0x03, 0x00, 0x00}}));

  ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
  ASSERT_EQ(Load(Concat({Ascii("IM2BK0"), {0x02, 0x00, 0x02, 0x03, 0x00, 0x00, 0x02, 0x00, 0x00}})),
            StoreOk);
  EXPECT_EQ(store.AppliCount(), 2);
  EXPECT_EQ(store.FindSlot(ToDo), 1);
  EXPECT_EQ(store.RecordCount(Memo), 0);
  EXPECT_EQ(store.FindUnusedSlot(), 2);  // both sections are slots in use
}

TEST_F(ArchiveTest, RoundTripFromPlainToInverted) {
  const Bytes telephone = Stream({{0x01, 'A', 'n', 'n', 0x80}, {0x02, 'B', 'o'}});
  const Bytes file = Concat({Ascii("IM2BK0"),
                             {0x02, 0x00, 0x02, 0x05, 0x00, 0x02},
                             telephone,
                             {0x03, 0x00, 0x01},
                             Stream({Ascii("note")})});
  ASSERT_EQ(Load(file), StoreOk);
  ASSERT_EQ(store.SaveArchive(path, true, nullptr), StoreOk);
  Bytes inverted = ReadBytes(path);
  ASSERT_EQ(inverted.size(), file.size());
  EXPECT_EQ(Bytes(inverted.begin(), inverted.begin() + 6), Ascii("IM2BK1"));
  for (std::size_t i = 9; i < inverted.size(); ++i) inverted[i] = ~inverted[i];
  // 0x80 is text for Telephone and the store has no code.dat: it came in as
  // a space and goes out as one; everything else is the same.
  Bytes expected = file;
  expected[16] = 0x20;
  EXPECT_EQ(Bytes(inverted.begin() + 6, inverted.end()),
            Bytes(expected.begin() + 6, expected.end()));
}

TEST_F(ArchiveTest, ConversionWhenWriting) {
  Add(ToDo, Stream({{0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 'a'}}));
  ASSERT_EQ(store.SaveArchive(path, false, nullptr), StoreOk);
  const Bytes written = ReadBytes(path);
  EXPECT_EQ(Bytes(written.begin() + 12, written.end()),
            Bytes({0x05, 0x05, 0x05, 0x05, 0x05, 0x20, 'a', 0xFF}));
}

struct RefusedCase {
  const char* name;
  Bytes file;
  StoreResult result;
};

class RefusedArchiveTest : public ArchiveTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedArchiveTest, LeavesNoRecords) {
  EXPECT_EQ(Load(GetParam().file), GetParam().result);
  for (std::uint8_t kind = 0; kind <= 6; ++kind)
    EXPECT_EQ(store.RecordCount(kind), ToInt(StoreNoAppli));
}

Bytes Header(std::uint8_t count, std::uint8_t device = 0x02) {
  return Concat({Ascii("IM2BK0"), {device, 0x00, count}});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedArchiveTest,
    ::testing::Values(
        RefusedCase{"BadMagic", Concat({Ascii("IM2BK2"), {0x02, 0x00, 0x00}}), StoreBadMagic},
        RefusedCase{"WrongDevice", Header(0, 0x01), StoreWrongDevice},
        RefusedCase{"EmptyFile", {}, StoreInvalid},
        RefusedCase{"ShortMagic", Ascii("IM2B"), StoreInvalid},
        RefusedCase{"HeaderWithoutCount", Concat({Ascii("IM2BK0"), {0x02, 0x00}}), StoreInvalid},
        RefusedCase{"MoreSectionsThanSlots", Concat({Header(8), Bytes(3 * 8, 0x00)}), StoreInvalid},
        RefusedCase{"MissingSection", Concat({Header(2), {0x03, 0x00, 0x00}}), StoreInvalid},
        RefusedCase{"SectionHeaderCut", Concat({Header(1), {0x03, 0x00}}), StoreInvalid},
        RefusedCase{"RecordRunsPastTheEnd", Concat({Header(1), {0x03, 0x00, 0x02, 'a', 0xFF, 'b'}}),
                    StoreInvalid},
        RefusedCase{"RecordTooLong",
                    Concat({Header(1), {0x03, 0x00, 0x01}, Bytes(1024, 'x'), {0xFF}}),
                    StoreInvalid}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArchiveTest, DuplicateApplication) {
  EXPECT_EQ(Load(Concat({Header(2), {0x03, 0x00, 0x00, 0x03, 0x00, 0x00}})), StoreDuplicate);
}

TEST_F(ArchiveTest, ProblemIsDescribed) {
  std::string problem;
  const Bytes file = Concat({Header(1), {0x00, 0x00, 0x02}, Stream({Ascii("x")})});
  EXPECT_EQ(store.LoadArchiveBytes(file, &problem), StoreInvalid);
  EXPECT_EQ(problem, "section 1 of 1 (Schedule): record 2 of 2 runs past the end of the file");
}

TEST_F(ArchiveTest, MissingFileIsAReadFailureWithTheSystemText) {
  std::string error_text;
  EXPECT_EQ(store.LoadArchive(dir.File("absent.bkf"), &error_text), StoreFailed);
  EXPECT_EQ(error_text, std::strerror(ENOENT));
}

TEST_F(ArchiveTest, FailedWriteKeepsTheOldArchive) {
  Add(Memo, Stream({Ascii("ABC")}));
  ASSERT_EQ(store.SaveArchive(path, false, nullptr), StoreOk);
  Add(ToDo, Stream({Bytes(1000, 'x'), Bytes(1000, 'y')}));
  for (std::uint64_t limit : {0, 9, 1500}) {
    platform::ScopedWriteFault fault(limit, ENOSPC);
    std::string error_text;
    EXPECT_EQ(store.SaveArchive(path, true, &error_text), StoreRejected) << limit;
    EXPECT_EQ(error_text, std::strerror(ENOSPC));
  }
  EXPECT_EQ(ReadBytes(path), kPlainMemo);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"backup.bkf"});
}

// A disk that garbles a byte without reporting it: the read-back catches it
// before the old archive is replaced, and the next attempt goes through.
TEST_F(ArchiveTest, WriteThatReadsBackDifferentlyKeepsTheOldArchive) {
  Add(Memo, Stream({Ascii("ABC")}));
  ASSERT_EQ(store.SaveArchive(path, false, nullptr), StoreOk);
  Bytes todo;  // 70 records of 1000 bytes: the last fault falls in the second chunk
  for (int i = 0; i < 70; ++i) todo = Concat({todo, Stream({Bytes(1000, 'x')})});
  Add(ToDo, todo);
  for (std::uint64_t offset : {0, 12, 66000}) {
    platform::ScopedWriteCorruption corruption(offset);
    std::string error_text;
    EXPECT_EQ(store.SaveArchive(path, true, &error_text), StoreRejected) << offset;
    EXPECT_EQ(error_text, "The archive read back differs from what was written.");
    EXPECT_EQ(ReadBytes(path), kPlainMemo);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"backup.bkf"});
  }
  EXPECT_EQ(store.SaveArchive(path, true, nullptr), StoreOk);
  ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
  ASSERT_EQ(store.LoadArchive(path, nullptr), StoreOk);
  EXPECT_EQ(store.RecordCount(ToDo), 70);
}

TEST_F(ArchiveTest, RecordThatWouldHoldTheTerminatorIsNeverWritten) {
  // Code tables that keep the organizer's 0x80 on the way in but turn it
  // into 0xFF on the way out.
  Bytes code(256, 0x20);
  code[0x80 - 0x7F] = 0xFF;
  code[128 + 0x80 - 0x7F] = 0x80;
  WriteBytes(dir.File("code.dat"), code);
  AppliStore converting(dir.Dir());
  ASSERT_EQ(converting.GetAppliBuf(ArchiveSlots), StoreOk);
  const Bytes memo = Stream({Ascii("ok"), {'a', 0x80, 'b'}});
  ASSERT_EQ(converting.LoadArchiveBytes(Concat({Header(1), {0x03, 0x00, 0x02}, memo})), StoreOk);
  WriteBytes(path, kPlainMemo);
  EXPECT_EQ(converting.SaveArchive(path, false, nullptr), StoreInvalid);
  EXPECT_EQ(ReadBytes(path), kPlainMemo);
  EXPECT_EQ(dir.Entries().size(), 2u);  // code.dat and the old archive
}

TEST_F(ArchiveTest, UnwritableTargetIsRefusedWithTheSystemText) {
  std::string error_text;
  // The free space of a missing folder is unknown: refused before any file
  // operation, so there is no system text.
  EXPECT_EQ(store.SaveArchive(dir.File("no/such/folder.bkf"), false, &error_text), StoreRejected);
  EXPECT_EQ(error_text, "");
  EXPECT_EQ(store.SaveArchive(dir.Dir(), false, &error_text), StoreRejected);  // a folder
  EXPECT_EQ(error_text, std::strerror(EISDIR));
}

}  // namespace
}  // namespace orgalink::store
