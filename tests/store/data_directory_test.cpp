// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/program_directory.h"
#include "store/appli_store.h"
#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Bytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(DataDirectory, ProgramDirectoryIsTheTestsOwnFolder) {
  const std::string program = platform::ProgramDirectory();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(program + "store_tests"));
}

// The override decides where a store built without arguments finds code.dat.
TEST(DataDirectory, OverrideFeedsTheStoresTables) {
  TempDir dir;
  Bytes code(256, 0x20);
  code[128] = 0xC0;  // the organizer's 0x7F is A grave
  WriteBytes(dir.File("code.dat"), code);
  platform::SetDataDirectory(dir.Dir().substr(0, dir.Dir().size() - 1));  // no trailing '/'
  EXPECT_EQ(platform::DataDirectory(), dir.Dir());
  const AppliStore store;
  platform::ClearDataDirectory();
  EXPECT_EQ(store.IncomingTable()[0], 0xC0);
  // Beside the test program there is no code.dat, nor an installed one.
  EXPECT_EQ(platform::DataDirectory(), platform::ProgramDirectory());
}

}  // namespace
}  // namespace orgalink::store
