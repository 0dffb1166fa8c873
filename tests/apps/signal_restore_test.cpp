// SPDX-License-Identifier: GPL-3.0-or-later
// A restore that the terminal, its reader or Ctrl-\ ends part-way still says
// goodbye to the organizer and tells where the safety archive is, so the
// next run finds the organizer ready and nothing is lost.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/run_program.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::ReadFile;

bool WaitForLog(const std::string& log, const std::string& text) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < give_up) {
    if (ReadFile(log).find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class SignalDuringRestore : public testing::TestWithParam<int> {};

TEST_P(SignalDuringRestore, SaysGoodbyeNamesTheSafetyArchiveAndExitsWithTheSignal) {
  const int signal = GetParam();
  testsupport::TempDir dir;
  // A slow organizer keeps the restore in its sending phase long enough.
  testsupport::SimulatorProcess simulator(
      ORGALINK_CLI, {"--state", dir.File("organizer.bkf"), "--fault", "slow:20"});
  ASSERT_FALSE(simulator.Device().empty());
  const std::string settings = dir.File("Orgalink.ini");
  const std::string log = dir.File("comm.log");
  std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA") << "\nLogFileName=" << log
                          << "\n";
  const std::vector<std::string> restore{"restore",
                                         "--yes",
                                         "--port",
                                         simulator.Device(),
                                         "--settings",
                                         settings,
                                         ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf"};
  {
    testsupport::RunningProgram run(ORGALINK_CLI, restore);
    ASSERT_TRUE(WaitForLog(log, "Restore 1 Appli")) << run.ErrorSoFar();
    run.Signal(signal);
    const auto ended = run.WaitAtMost(std::chrono::seconds(30));
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->exit_code, 128 + signal) << ended->err;
    EXPECT_NE(ended->err.find("safety backup " + dir.File("DATA/before-restore-")),
              std::string::npos)
        << ended->err;
  }
  const std::string written = ReadFile(log);
  const auto nack = written.rfind("---PC sends NACK");
  ASSERT_NE(nack, std::string::npos);
  EXPECT_NE(written.find("---PC sends END_COMMUNICATION", nack), std::string::npos);

  const auto again = testsupport::RunProgram(ORGALINK_CLI, restore);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  simulator.Program().Signal(SIGTERM);
  simulator.Program().Wait();
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringRestore, testing::Values(SIGHUP, SIGPIPE, SIGQUIT),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

}  // namespace
}  // namespace orgalink
