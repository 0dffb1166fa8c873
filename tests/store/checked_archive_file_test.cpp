// SPDX-License-Identifier: GPL-3.0-or-later
// An archive built in memory (by import) is written the way a backup's is:
// a disk that fails or garbles a byte leaves the old archive as it was.

#include "store/checked_archive_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "store_test_helpers.h"

namespace orgalink::store {
namespace {

using namespace testing;

// What the write tells back, on a fresh ArchiveWrite for `path`.
ArchiveWrite Save(const std::string& path, const Bytes& file, StoreResult expected) {
  ArchiveWrite write;
  write.path = path;
  EXPECT_EQ(SaveArchiveFile(write, file), expected) << path;
  return write;
}

TEST(CheckedArchiveFile, AFileInMemoryReplacesTheOldOneOnlyOnceItReadsBack) {
  TempDir dir;
  const std::string path = dir.File("imported.bkf");
  const Bytes old_archive = Concat({Ascii("IM2BK0"), {2, 0, 1, 3, 0, 1}, Ascii("ABC"), {0xFF}});
  const Bytes new_archive = Concat({Ascii("IM2BK0"), {2, 0, 1, 3, 0, 1}, Bytes(70000, 'x')});
  WriteBytes(path, old_archive);
  for (const std::uint64_t at : {0, 9, 66000}) {
    SCOPED_TRACE(at);
    {
      platform::ScopedWriteCorruption corruption(at);
      const ArchiveWrite garbled = Save(path, new_archive, StoreRejected);
      EXPECT_EQ(garbled.errorText, "The archive read back differs from what was written.");
    }
    {
      platform::ScopedWriteFault fault(at, ENOSPC);
      const ArchiveWrite failed = Save(path, new_archive, StoreRejected);
      EXPECT_EQ(failed.errorText, std::strerror(ENOSPC));
      EXPECT_EQ(failed.errorNumber, ENOSPC);
    }
    EXPECT_EQ(ReadBytes(path), old_archive);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"imported.bkf"});
  }
  Save(path, new_archive, StoreOk);
  EXPECT_EQ(ReadBytes(path), new_archive);
}

// A folder whose room cannot be found out refuses the file before any is
// made, and the refusal is the cause alone: the front end that shows it
// puts its own words around it.
TEST(CheckedArchiveFile, AFileInMemoryIsRefusedWithTheCauseAlone) {
  TempDir dir;
  const ArchiveWrite refused =
      Save(dir.File("no/such/imported.bkf"), Ascii("IM2BK0"), StoreRejected);
  EXPECT_EQ(refused.refusal, dir.File("no/such") + ": " + std::strerror(ENOENT));
  EXPECT_EQ(refused.errorNumber, ENOENT);
  EXPECT_EQ(refused.errorText, "");
}

}  // namespace
}  // namespace orgalink::store
