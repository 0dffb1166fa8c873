// --port sim: the simulated organizer behind an in-process cable, in the
// commands a user runs.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

TEST(SimulatedPort, BackupThenRestoreIntoAnotherVariant) {
  testsupport::TempDir dir;
  // The simulator keeps its contents beside the user's backups.
  setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  const std::string archive = dir.File("out.bkf");
  const auto backup = RunProgram(ORGALINK_CLI, {"backup", "--port", "sim", archive});
  EXPECT_EQ(backup.exit_code, 0) << backup.err;
  EXPECT_NE(backup.out.find("Telephone: 24 records"), std::string::npos) << backup.out;
  const auto restore = RunProgram(ORGALINK_CLI, {"restore", "--yes", "--port", "sim:E", archive});
  EXPECT_EQ(restore.exit_code, 0) << restore.err;
  const auto wrong = RunProgram(ORGALINK_CLI, {"backup", "--port", "sim:X", archive});
  EXPECT_EQ(wrong.exit_code, 2);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace orgalink
