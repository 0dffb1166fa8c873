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
  // Real time on a paced line: should a loaded machine ever fail a run, its
  // log says where.
  const std::string backup_log = dir.File("backup.log");
  const auto backup =
      RunProgram(ORGALINK_CLI, {"backup", "--port", "sim", "--log", backup_log, archive});
  EXPECT_EQ(backup.exit_code, 0) << backup.err << testsupport::ReadFile(backup_log);
  EXPECT_NE(backup.out.find("Telephone: 24 records"), std::string::npos) << backup.out;
  const std::string restore_log = dir.File("restore.log");
  const auto restore = RunProgram(
      ORGALINK_CLI, {"restore", "--yes", "--port", "sim:E", "--log", restore_log, archive});
  EXPECT_EQ(restore.exit_code, 0) << restore.err << testsupport::ReadFile(restore_log);
  const auto wrong = RunProgram(ORGALINK_CLI, {"backup", "--port", "sim:X", archive});
  EXPECT_EQ(wrong.exit_code, 2);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace orgalink
