// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink simulate --pty: a device any program can open, serving run after
// run until interrupted.

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

// The device path is the first line, written as soon as the organizer offers.
std::string FirstLine(const testsupport::RunningProgram& program) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < give_up) {
    const std::string out = program.OutputSoFar();
    const auto end = out.find('\n');
    if (end != std::string::npos) return out.substr(0, end);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

TEST(SimulateCommand, ServesBackupAfterBackupAndSavesItsContents) {
  testsupport::TempDir dir;
  const std::string state = dir.File("organizer.bkf"), settings = dir.File("Orgalink.ini");
  std::ofstream{settings};
  testsupport::RunningProgram simulator(ORGALINK_CLI, {"simulate", "--pty", "--state", state});
  const std::string device = FirstLine(simulator);
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;

  const auto backup = [&](const std::string& archive) {
    return RunProgram(ORGALINK_CLI, {"run-mode", "1", "--port", device, "--file", archive,
                                     "--settings", settings});
  };
  const auto first = backup(dir.File("first.bkf"));
  ASSERT_EQ(first.exit_code, 0) << first.err;
  const auto listing = RunProgram(ORGALINK_CLI, {"inspect", dir.File("first.bkf")});
  EXPECT_NE(listing.out.find("Telephone: 24 records"), std::string::npos) << listing.out;
  // The same simulator serves the next run without another press of PC-LINK.
  EXPECT_EQ(backup(dir.File("second.bkf")).exit_code, 0);

  simulator.Signal(SIGINT);
  EXPECT_EQ(simulator.Wait().exit_code, 0);
  EXPECT_EQ(RunProgram(ORGALINK_CLI, {"inspect", state}).exit_code, 0);
}

TEST(SimulateCommand, RefusesWhatItCannotServe) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"simulate"},
        std::vector<std::string>{"simulate", "--pty", "--variant", "Q"},
        std::vector<std::string>{"simulate", "--pty", "--fault", "thunder:3"}}) {
    const auto result = RunProgram(ORGALINK_CLI, args);
    EXPECT_EQ(result.exit_code, 2) << args.back();
    EXPECT_NE(result.err.find("orgalink simulate: "), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace orgalink
