// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/appli_store.h"

#include <gtest/gtest.h>

#include <numeric>

#include "store/appli_kind.h"
#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Ascii;
using testing::Bytes;
using testing::Stream;
using testing::TempDir;
using testing::WriteBytes;

// A store with a fresh 7-slot table and no code.dat: both conversion tables
// are all spaces.
class AppliStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk); }

  StoreResult Add(std::uint8_t kind, const Bytes& stream) { return store.AddRecords(kind, stream); }
  Bytes Get(std::uint8_t kind) {
    Bytes stream;
    EXPECT_EQ(store.GetRecords(kind, stream), StoreOk);
    return stream;
  }

  TempDir dir;
  AppliStore store{dir.Dir()};
};

TEST_F(AppliStoreTest, AddRecordsClaimsSlotsInTableOrderAndAppends) {
  EXPECT_EQ(Add(Memo, Stream({Ascii("AB")})), StoreOk);
  EXPECT_EQ(Add(Telephone, Bytes{}), StoreOk);  // no record: still claims a slot
  EXPECT_EQ(Add(Memo, Stream({Ascii("CD"), {}})), StoreOk);
  EXPECT_EQ(store.AppliCount(), 2);
  EXPECT_EQ(store.FindSlot(Memo), 0);
  EXPECT_EQ(store.FindSlot(Telephone), 1);
  EXPECT_EQ(store.RecordCount(Telephone), 0);
  EXPECT_EQ(store.RecordCount(Memo), 3);
  EXPECT_EQ(Get(Memo), Stream({Ascii("AB"), Ascii("CD"), {}}));
  EXPECT_EQ(store.RecordsSize(Memo), 4 + 4 + 2);
  EXPECT_EQ(store.RecordCount(ToDo), ToInt(StoreNoAppli));
  EXPECT_EQ(store.RecordsSize(ToDo), ToInt(StoreNoAppli));
}

TEST_F(AppliStoreTest, BytesAfterTheLastTerminatorAreIgnored) {
  Bytes stream = Stream({Ascii("A")});
  stream.push_back('Z');
  EXPECT_EQ(Add(Memo, stream), StoreOk);
  EXPECT_EQ(Get(Memo), Stream({Ascii("A")}));
}

TEST_F(AppliStoreTest, RecordLengthLimit) {
  EXPECT_EQ(Add(Memo, Stream({Bytes(1023, 'x')})), StoreOk);
  EXPECT_EQ(store.RecordsSize(Memo), 1025);
  // 1024 bytes with no terminator among them: refused, and the slot keeps
  // exactly what it had (the first, sound record of the batch is not taken).
  EXPECT_EQ(Add(Memo, Stream({Ascii("ok"), Bytes(1024, 'x')})), StoreInvalid);
  EXPECT_EQ(Add(ToDo, Stream({Bytes(1024, 'x')})), StoreInvalid);
  EXPECT_EQ(store.RecordCount(Memo), 1);
  EXPECT_EQ(store.FindSlot(ToDo), ToInt(StoreNoSlot));
  EXPECT_EQ(store.AppliCount(), 1);
}

TEST_F(AppliStoreTest, RecordCountLimitFor65535) {
  const Bytes many(65535, 0xFF);  // 65535 empty records
  EXPECT_EQ(Add(Memo, many), StoreOk);
  EXPECT_EQ(store.RecordCount(Memo), 65535);
  EXPECT_EQ(Add(Memo, Stream({{}})), StoreRejected);  // held application
  EXPECT_EQ(store.RecordCount(Memo), 65535);
  EXPECT_EQ(Add(ToDo, Bytes(65536, 0xFF)), StoreRejected);  // new application
  EXPECT_EQ(store.FindSlot(ToDo), ToInt(StoreNoSlot));
  EXPECT_EQ(store.AppliCount(), 1);
}

TEST_F(AppliStoreTest, GetRecordsChecksTheCapacity) {
  ASSERT_EQ(Add(Memo, Stream({Ascii("ABC"), Ascii("D")})), StoreOk);
  Bytes buffer(16, 0);
  int length = 0;
  EXPECT_EQ(store.GetRecords(Memo, std::span(buffer).first(store.RecordsSize(Memo)), length),
            StoreOk);
  EXPECT_EQ(length, 6);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), Stream({Ascii("ABC"), Ascii("D")}));
  for (int too_small : {5, 1}) {
    EXPECT_EQ(store.GetRecords(Memo, std::span(buffer).first(too_small), length), StoreRejected)
        << too_small;
  }
  EXPECT_EQ(store.GetRecords(Memo, {}, length), StoreRejected);
  EXPECT_EQ(store.GetRecords(ToDo, buffer, length), StoreRejected);
}

TEST_F(AppliStoreTest, SlotManagement) {
  ASSERT_EQ(Add(Memo, Stream({Ascii("A")})), StoreOk);
  ASSERT_EQ(Add(ToDo, Stream({Ascii("B")})), StoreOk);
  EXPECT_EQ(store.PrepareSlot(Memo), StoreOk);  // empties the held slot in place
  EXPECT_EQ(store.RecordCount(Memo), 0);
  EXPECT_EQ(store.PrepareSlot(Expense), StoreOk);
  EXPECT_EQ(store.FindSlot(Expense), 2);
  EXPECT_EQ(store.AppliCount(), 2);  // PrepareSlot leaves the count alone
  EXPECT_EQ(store.CheckDuplicates(), StoreOk);

  store.ClearSlots();
  for (std::uint8_t kind = 0; kind <= 6; ++kind)
    EXPECT_EQ(store.FindSlot(kind), ToInt(StoreNoSlot));
  EXPECT_EQ(store.AppliCount(), 0);
  for (std::uint8_t kind : FullOrder) ASSERT_EQ(store.PrepareSlot(kind), StoreOk);
  EXPECT_EQ(store.PrepareSlot(0x10), StoreNoSlot);
  EXPECT_EQ(store.FindUnusedSlot(), ToInt(StoreFull));
}

TEST_F(AppliStoreTest, FreedRecordsStayCountedAsEmptyReferences) {
  ASSERT_EQ(Add(Memo, Stream({Ascii("ABC"), Ascii("D")})), StoreOk);
  store.FreeRecords();
  EXPECT_EQ(store.RecordCount(Memo), 2);
  EXPECT_EQ(store.RecordsSize(Memo), 2);
  Bytes stream;
  EXPECT_EQ(store.GetRecords(Memo, stream), StoreRejected);
}

TEST(AppliStoreWithoutTable, EveryOperationRefuses) {
  TempDir dir;
  AppliStore store(dir.Dir());
  const Bytes stream = Stream({Ascii("A")});
  EXPECT_EQ(store.AddRecords(Memo, stream), StoreRejected);
  EXPECT_EQ(store.AddRecords(Memo, {}), StoreRejected);
  EXPECT_EQ(store.FindSlot(Memo), ToInt(StoreInvalid));
  EXPECT_EQ(store.FindUnusedSlot(), ToInt(StoreFull));
  EXPECT_EQ(store.PrepareSlot(Memo), StoreNoSlot);
  EXPECT_EQ(store.RecordCount(Memo), ToInt(StoreNoAppli));
  EXPECT_EQ(store.SaveArchive(dir.File("a.bkf"), false, nullptr), StoreInvalid);
  EXPECT_EQ(store.LoadArchive(dir.File("a.bkf"), nullptr), StoreInvalid);
  EXPECT_EQ(std::string(store.Magic()), "IM2BK1");
  EXPECT_EQ(store.DeviceCode()[0], 2);
  EXPECT_EQ(store.DeviceCode()[1], 0);
}

// Character conversion on the way in (AddRecords) and out (GetRecords).
struct ConversionCase {
  const char* name;
  bool identity_tables;  // else no code.dat: all spaces
  std::uint8_t kind;
  Bytes received;  // one record as the organizer sent it
  Bytes held;      // what the store keeps
  Bytes sent;      // what goes back to the organizer
};

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, RecordPassesBothWays) {
  const ConversionCase& c = GetParam();
  TempDir dir;
  if (c.identity_tables) {
    Bytes table(256);
    std::iota(table.begin(), table.begin() + 128, 0x7F);
    std::iota(table.begin() + 128, table.end(), 0x7F);
    WriteBytes(dir.File("code.dat"), table);
  }
  AppliStore store(dir.Dir());
  ASSERT_EQ(store.GetAppliBuf(ArchiveSlots), StoreOk);
  const Bytes stream = Stream({c.received});
  ASSERT_EQ(store.AddRecords(c.kind, stream), StoreOk);
  Bytes held(c.received.size());
  std::copy(c.received.begin(), c.received.end(), held.begin());
  store.FromDeviceCodes(c.kind, held);
  EXPECT_EQ(held, c.held);
  Bytes sent;
  ASSERT_EQ(store.GetRecords(c.kind, sent), StoreOk);
  EXPECT_EQ(sent, Stream({c.sent}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConversionTest,
    ::testing::Values(
        ConversionCase{"AsciiUnchanged",
                       false,
                       Memo,
                       {0x41, 0x7E, 0x00},
                       {0x41, 0x7E, 0x00},
                       {0x41, 0x7E, 0x00}},
        ConversionCase{
            "ControlBecomesSpaceOnTheWayOut", true, Memo, {0x05, 0x41}, {0x05, 0x41}, {0x20, 0x41}},
        ConversionCase{"NoTablesMakeHighCodesSpaces",
                       false,
                       Memo,
                       {0x7F, 0x80, 0xBF, 0xFE},
                       {0x20, 0x20, 0x20, 0x20},
                       {0x20, 0x20, 0x20, 0x20}},
        ConversionCase{"IdentityTablesStillCleanUpUnshownCodes",
                       true,
                       Memo,
                       {0x7F, 0xBF, 0xC0, 0xFE},
                       {0x7F, 0xBF, 0xC0, 0xFE},
                       {0x7F, 0xBF, 0x20, 0x20}},
        // To Do records start with 5 binary bytes that neither direction touches.
        ConversionCase{"TextOffsetBytesUntouched",
                       false,
                       ToDo,
                       {0x05, 0x80, 0xC0, 0x01, 0xFE, 0x80, 0x05},
                       {0x05, 0x80, 0xC0, 0x01, 0xFE, 0x20, 0x05},
                       {0x05, 0x80, 0xC0, 0x01, 0xFE, 0x20, 0x20}},
        ConversionCase{
            "RecordWithinTextOffset", false, Expense, {0x80, 0x05}, {0x80, 0x05}, {0x80, 0x05}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orgalink::store
