// orgalink restore --verify against the simulator on a pseudo-terminal: an
// organizer that acknowledges a record but loses it is found out.

#include <gtest/gtest.h>
#include <signal.h>

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
