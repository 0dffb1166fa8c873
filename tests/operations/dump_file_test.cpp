// SPDX-License-Identifier: GPL-3.0-or-later
// Dump files on their own: names, the round trip, and damaged files.

#include "operations/dump_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/appli_kind.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "support/transfer_peer.h"

namespace orgalink::operations {
namespace {

using store::StoreFailed;
using store::StoreOk;
using testsupport::Bytes;
using testsupport::RecordStream;

using testsupport::FileBytes;
using testsupport::WriteBytes;

Bytes StoredStream(const store::AppliStore& store, std::uint8_t kind) {
  Bytes stream;
  EXPECT_EQ(store.GetRecords(kind, stream), StoreOk);
  return stream;
}

TEST(DumpFilePath, NamesTheFileAfterTheApplication) {
  const struct {
    int kind;
    DumpDirection direction;
    const char* path;
  } cases[] = {
      {store::Schedule, DumpDirection::Send, "d/schedule.snd"},
      {store::Anniversary, DumpDirection::Receive, "d/anniversary.rcv"},
      {store::ToDo, DumpDirection::Send, "d/todo.snd"},
      {store::Memo, DumpDirection::Send, "d/memo.snd"},
      {store::Expense, DumpDirection::Receive, "d/expense.rcv"},
      {store::Telephone, DumpDirection::Send, "d/telephone.snd"},
      {store::ExpenseCategory, DumpDirection::Receive, "d/expense_category.rcv"},
      {store::AllApplis, DumpDirection::Send, "d/schedule.snd"},
      {7, DumpDirection::Receive, "d/schedule.rcv"},
      {-1, DumpDirection::Send, "d/schedule.snd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DumpFilePath("d/", c.kind, c.direction), c.path) << c.kind;
    EXPECT_EQ(DumpFilePath("d", c.kind, c.direction), c.path) << c.kind;
  }
  EXPECT_EQ(DumpFilePath("", store::Memo, DumpDirection::Receive), "memo.rcv");
}

TEST(DumpFile, ReceivedRecordsSavedAndLoadedComeBackTheSame) {
  testsupport::TempDir dir;
  const std::string path = dir.File("memo.rcv");
  const Bytes stream = RecordStream({{0x41}, {}, {0x42, 0x43}, Bytes(1023, 0x44)});
  store::AppliStore out;
  ASSERT_EQ(out.GetAppliBuf(2), StoreOk);
  ASSERT_EQ(out.AddRecords(store::Memo, stream), StoreOk);
  ASSERT_EQ(SaveDumpFile(out, path, store::Memo), StoreOk);
  EXPECT_EQ(FileBytes(path), stream);

  store::AppliStore in;
  ASSERT_EQ(in.GetAppliBuf(2), StoreOk);
  ASSERT_EQ(LoadDumpFile(in, path, store::Memo), StoreOk);
  EXPECT_EQ(in.RecordCount(store::Memo), 4);
  EXPECT_EQ(in.AppliCount(), 1);
  EXPECT_EQ(in.Magic(), "IM2BK0");
  EXPECT_EQ(StoredStream(in, store::Memo), stream);
}

TEST(DumpFile, BytesAfterTheLastTerminatorAreIgnoredAndAnEmptyFileHoldsNoRecords) {
  testsupport::TempDir dir;
  const struct {
    Bytes file;
    Bytes records;
  } cases[] = {{{0x41, 0xFF, 0x42, 0x43, 0xFF, 0x44, 0x45}, {0x41, 0xFF, 0x42, 0x43, 0xFF}},
               {{}, {}},
               {{0x41, 0x42}, {}}};
  for (const auto& c : cases) {
    const std::string path = dir.File("memo.snd");
    WriteBytes(path, c.file);
    store::AppliStore store;
    ASSERT_EQ(store.GetAppliBuf(2), StoreOk);
    ASSERT_EQ(LoadDumpFile(store, path, store::Memo), StoreOk);
    EXPECT_EQ(store.AppliCount(), 1);
    EXPECT_EQ(StoredStream(store, store::Memo), c.records);
  }
}

TEST(DumpFile, SavingPassesRecordsThroughTheOrganizersCodes) {
  testsupport::TempDir dir;
  // Schedule keeps its first 14 bytes as they are; a control byte in the
  // text becomes a space.
  const Bytes stream = {0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
                        0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x41, 0xFF};
  store::AppliStore store;
  ASSERT_EQ(store.GetAppliBuf(2), StoreOk);
  ASSERT_EQ(store.AddRecords(store::Schedule, stream), StoreOk);
  ASSERT_EQ(SaveDumpFile(store, dir.File("schedule.rcv"), store::Schedule), StoreOk);
  const Bytes expected = {0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
                          0x09, 0x09, 0x09, 0x09, 0x09, 0x20, 0x41, 0xFF};
  EXPECT_EQ(FileBytes(dir.File("schedule.rcv")), expected);
}

TEST(DumpFile, SavingNeedsTheApplicationAndAWritableFile) {
  testsupport::TempDir dir;
  store::AppliStore store;
  ASSERT_EQ(store.GetAppliBuf(2), StoreOk);
  EXPECT_EQ(SaveDumpFile(store, dir.File("memo.rcv"), store::Memo), store::StoreRejected);
  EXPECT_FALSE(std::filesystem::exists(dir.File("memo.rcv")));
  const Bytes stream = RecordStream({{0x41}});
  ASSERT_EQ(store.AddRecords(store::Memo, stream), StoreOk);
  EXPECT_EQ(SaveDumpFile(store, dir.File("no/such/folder/memo.rcv"), store::Memo),
            store::StoreRejected);
}

TEST(DumpFile, AtMost65535RecordsLoad) {
  testsupport::TempDir dir;
  for (const std::size_t records : {std::size_t{65535}, std::size_t{65536}}) {
    const std::string path = dir.File("todo.snd");
    WriteBytes(path, Bytes(records, 0xFF));
    store::AppliStore store;
    ASSERT_EQ(store.GetAppliBuf(2), StoreOk);
    const bool fits = records <= 65535;
    EXPECT_EQ(LoadDumpFile(store, path, store::ToDo), fits ? StoreOk : StoreFailed) << records;
    EXPECT_EQ(store.RecordCount(store::ToDo), fits ? 65535 : store::ToInt(store::StoreNoAppli));
  }
}

}  // namespace
}  // namespace orgalink::operations
