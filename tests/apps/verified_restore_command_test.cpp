// orgalink restore --verify against the simulator on a pseudo-terminal: an
// organizer that acknowledges a record but loses it is found out.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

std::string DevicePath(const testsupport::RunningProgram& simulator) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < give_up) {
    const std::string out = simulator.OutputSoFar();
    const auto end = out.find('\n');
    if (end != std::string::npos) return out.substr(0, end);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

TEST(VerifiedRestoreCommand, ALostRecordExits18AndNamesItsApplication) {
  testsupport::TempDir dir;
  const std::string settings = dir.File("Orgalink.ini");
  std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA") << "\n";
  // The first record the PC sends in each communication is lost: a Telephone one.
  testsupport::RunningProgram simulator(
      ORGALINK_CLI,
      {"simulate", "--pty", "--state", dir.File("organizer.bkf"), "--fault", "drop:1"});
  const std::string device = DevicePath(simulator);
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

  simulator.Signal(SIGINT);
  EXPECT_EQ(simulator.Wait().exit_code, 0);
}

}  // namespace
}  // namespace orgalink
