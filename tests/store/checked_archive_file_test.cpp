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

TEST(CheckedArchiveFile, AFileInMemoryReplacesTheOldOneOnlyOnceItReadsBack) {
  TempDir dir;
  const std::string path = dir.File("imported.bkf");
  const Bytes old_archive = Concat({Ascii("IM2BK0"), {2, 0, 1, 3, 0, 1}, Ascii("ABC"), {0xFF}});
  const Bytes new_archive = Concat({Ascii("IM2BK0"), {2, 0, 1, 3, 0, 1}, Bytes(70000, 'x')});
  WriteBytes(path, old_archive);
  for (const std::uint64_t at : {0, 9, 66000}) {
    std::string error_text;
    {
      platform::ScopedWriteCorruption corruption(at);
      EXPECT_EQ(SaveArchiveFile(path, new_archive, &error_text), StoreRejected) << at;
    }
    EXPECT_EQ(error_text, "The archive read back differs from what was written.");
    {
      platform::ScopedWriteFault fault(at, ENOSPC);
      EXPECT_EQ(SaveArchiveFile(path, new_archive, &error_text), StoreRejected) << at;
    }
    EXPECT_EQ(error_text, std::strerror(ENOSPC));
    EXPECT_EQ(ReadBytes(path), old_archive);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"imported.bkf"});
  }
  EXPECT_EQ(SaveArchiveFile(path, new_archive, nullptr), StoreOk);
  EXPECT_EQ(ReadBytes(path), new_archive);
}

}  // namespace
}  // namespace orgalink::store
