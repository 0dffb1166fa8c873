// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink ports` runs on whatever this machine has and always succeeds.

#include <gtest/gtest.h>

#include <fstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

TEST(PortsCommand, ListsThePortsOrSaysThereAreNone) {
  testsupport::TempDir dir;
  std::ofstream{dir.File("Orgalink.ini")};
  const auto result =
      testsupport::RunProgram(ORGALINK_CLI, {"ports", "--settings", dir.File("Orgalink.ini")});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const bool listed = result.out.rfind("Serial ports found:\n", 0) == 0 ||
                      result.out.rfind("No serial ports found.\n", 0) == 0;
  EXPECT_TRUE(listed) << result.out;
}

}  // namespace
}  // namespace orgalink
