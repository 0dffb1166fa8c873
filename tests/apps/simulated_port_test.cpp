// SPDX-License-Identifier: GPL-3.0-or-later
// --port sim: the simulated organizer behind an in-process cable, in the
// commands a user runs.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>

#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/transfer_peer.h"

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

// The simulator keeps its contents beside the user's backups, here in the
// test's own folder.
class SimulatedPortSignalTest : public testing::Test {
 protected:
  SimulatedPortSignalTest() {
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  }
  ~SimulatedPortSignalTest() override {
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
  }
  std::vector<std::string> Backup() const {
    return {"backup", "--port", "sim", "--log", log, archive};
  }
  // The backup is in the middle of the applications.
  static bool Receiving(testsupport::RunningProgram& program) {
    return program.WaitForError("Receiving... Schedule", std::chrono::seconds(30));
  }

  testsupport::TempDir dir;
  std::string log = dir.File("backup.log");
  std::string archive = dir.File("out.bkf");
};

// The simulated organizer runs on a thread of the program's own; a signal
// must not reach it there and kill the program mid-run. The organizer is
// released and the archive never begun.
TEST_F(SimulatedPortSignalTest, CtrlCAndSigtermReleaseTheOrganizerAndLeaveNoFile) {
  const struct {
    const char* name;
    int signal;
    int times;
    int exit_code;
  } cases[] = {
      {"Ctrl-C", SIGINT, 1, 130}, {"Ctrl-C twice", SIGINT, 2, 130}, {"SIGTERM", SIGTERM, 1, 143}};
  for (const auto& c : cases) {
    testsupport::RunningProgram program(ORGALINK_CLI, Backup());
    ASSERT_TRUE(Receiving(program)) << c.name << program.ErrorSoFar();
    for (int i = 0; i < c.times; ++i) program.Signal(c.signal);
    const auto result = program.WaitAtMost(std::chrono::seconds(60));
    ASSERT_TRUE(result) << c.name << ": still running";
    EXPECT_EQ(result->exit_code, c.exit_code) << c.name << result->err;
    EXPECT_NE(result->err.find("\nUser aborted.\n"), std::string::npos) << c.name << result->err;
    const std::string text = testsupport::ReadFile(log);
    // Only the closing NACK goes out in a backup, and END_COMMUNICATION after it.
    EXPECT_TRUE(testsupport::LinesInOrder(
        text, {">>>>>>Send    [ 7f 15 00 00 94 ]", ">>>>>>Send    [ 7f 09 00 00 88 ]"}))
        << c.name << text;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"backup.log", "config", "data"})) << c.name;
  }
}

// A script's background job (`orgalink backup ... &`) inherits SIGINT as
// ignored; it stays ignored, and the backup ends as if nothing came.
TEST_F(SimulatedPortSignalTest, ASigintInheritedAsIgnoredLeavesTheBackupToFinish) {
  std::vector<std::string> args = {"-c", "trap '' INT; exec \"$0\" \"$@\"", ORGALINK_CLI};
  for (const std::string& arg : Backup()) args.push_back(arg);
  testsupport::RunningProgram program("/bin/sh", args);
  ASSERT_TRUE(Receiving(program)) << program.ErrorSoFar();
  program.Signal(SIGINT);
  const auto result = program.WaitAtMost(std::chrono::seconds(60));
  ASSERT_TRUE(result) << "still running:\n" << program.ErrorSoFar();
  EXPECT_EQ(result->exit_code, 0) << result->err << testsupport::ReadFile(log);
  EXPECT_NE(result->err.find("Finished.\n"), std::string::npos) << result->err;
  EXPECT_TRUE(std::filesystem::is_regular_file(archive));
}

}  // namespace
}  // namespace orgalink
