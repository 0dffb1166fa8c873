// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink restore --verify against the simulator on a pseudo-terminal: an
// organizer that acknowledges a record but loses it is found out.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "support/run_program.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

TEST(VerifiedRestoreCommand, ALostRecordExits18AndNamesItsApplication) {
  testsupport::TempDir dir;
  const std::string settings = dir.File("Orgalink.ini");
  std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA") << "\n";
  // The first record the PC sends in each communication is lost: a Telephone one.
  testsupport::SimulatorProcess simulator(
      ORGALINK_CLI, {"--state", dir.File("organizer.bkf"), "--fault", "drop:1"});
  const std::string device = simulator.Device();
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;
  const std::string archive = dir.File("kept.bkf");
  const auto common = [&](std::vector<std::string> args) {
    args.insert(args.end(), {"--port", device, "--settings", settings});
    return RunProgram(ORGALINK_CLI, args);
  };
  ASSERT_EQ(common({"backup", archive}).exit_code, 0);

  const auto restore = common({"restore", "--yes", "--verify", archive});
  EXPECT_EQ(restore.exit_code, 18) << restore.err;
  EXPECT_NE(restore.err.find("press the [PC-LINK] button on the organizer again"),
            std::string::npos)
      << restore.err;
  EXPECT_NE(restore.out.find("Safety backup of the organizer before the restore: " +
                             dir.File("DATA/before-restore-")),
            std::string::npos)
      << restore.out;
  EXPECT_NE(restore.out.find("Telephone differs: 24 records in the archive, 23 on the "
                             "organizer; 1 only in the archive, 0 only on the organizer\n"),
            std::string::npos)
      << restore.out;
  EXPECT_EQ(common({"verify", archive}).exit_code, 18);

  simulator.Program().Signal(SIGINT);
  EXPECT_EQ(simulator.Program().Wait().exit_code, 0);
}

}  // namespace
}  // namespace orgalink

namespace orgalink {
namespace {

// The base model's early-stop check takes a transfer of one Telephone record
// for an incomplete one; compared with an archive that holds just that one,
// it is whole.
TEST(VerifiedRestoreCommand, OneTelephoneRecordOnTheBaseModelMatchesAnArchiveOfOne) {
  testsupport::TempDir dir;
  const std::string json = dir.File("one.json");
  std::ofstream(json) << R"({"format": "orgalink-archive", "version": 1, "magic": "IM2BK0",
    "inverted": false, "device_code": "0200", "charset": "ISO-8859-1",
    "sections": [{"application": "Telephone",
                  "records": [{"prefix": "01", "text": ["Ada", "+1 555 0100"]}]}]})";
  const std::string archive = dir.File("one.bkf");
  ASSERT_EQ(RunProgram(ORGALINK_CLI, {"import", json, "-o", archive}).exit_code, 0);
  const std::string state = dir.File("organizer.bkf");
  std::filesystem::copy_file(archive, state);
  testsupport::SimulatorProcess simulator(ORGALINK_CLI, {"--state", state, "--variant", "E"});
  ASSERT_FALSE(simulator.Device().empty());
  const std::string settings = dir.File("Orgalink.ini");
  std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA") << "\n";
  const auto verified = RunProgram(
      ORGALINK_CLI, {"verify", archive, "--port", simulator.Device(), "--settings", settings});
  EXPECT_EQ(verified.exit_code, 0) << verified.err;
  EXPECT_NE(verified.out.find("Verified: 1 record in 6 applications match"), std::string::npos)
      << verified.out;
  simulator.Program().Signal(SIGTERM);
  simulator.Program().Wait();
}

// The organizer goes away between the restore and its check: the restore
// is told as done, and the check as not made, with a status of its own.
TEST(VerifiedRestoreCommand, AReadBackCutAfterASuccessfulRestoreSaysTheRestoreCompleted) {
  testsupport::TempDir dir;
  const std::string settings = dir.File("Orgalink.ini");
  std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA") << "\n";
  testsupport::SimulatorProcess simulator(ORGALINK_CLI, {"--state", dir.File("organizer.bkf")});
  ASSERT_FALSE(simulator.Device().empty());
  testsupport::RunningProgram restore(
      ORGALINK_CLI, {"restore", "--yes", "--verify", "--no-safety-backup", "--to-command", "2",
                     "--port", simulator.Device(), "--settings", settings,
                     ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf"});
  ASSERT_TRUE(restore.WaitForError("press the [PC-LINK] button on the organizer again",
                                   std::chrono::seconds(60)))
      << restore.ErrorSoFar();
  simulator.Program().Signal(SIGKILL);
  simulator.Program().Wait();
  const auto ended = restore.WaitAtMost(std::chrono::seconds(30));
  ASSERT_TRUE(ended.has_value());
  EXPECT_EQ(ended->exit_code, 19) << ended->err;
  EXPECT_NE(ended->err.find("The restore itself completed"), std::string::npos) << ended->err;
}

}  // namespace
}  // namespace orgalink
