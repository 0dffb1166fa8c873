// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink watch against the simulator on a pseudo-terminal: a backup at each
// offer of the organizer, the device going and coming back, and the port's
// holder told to other commands.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <thread>

#include "support/run_program.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

namespace fs = std::filesystem;
using testsupport::RunningProgram;
using testsupport::RunProgram;
using testsupport::SimulatorProcess;

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A watch over a simulated organizer, with its settings, its backup folder
// and its private runtime folder (where the port's holder note goes).
class WatchCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(settings_) << "[Path]\nBackupDir=" << backups_ << "\n";
    fs::create_directory(runtime_);
    const char* old = getenv("XDG_RUNTIME_DIR");
    if (old != nullptr) oldRuntime_ = old;
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  }
  void TearDown() override {
    if (oldRuntime_) {
      setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

  std::unique_ptr<SimulatorProcess> StartSimulator() {
    auto simulator = std::make_unique<SimulatorProcess>(
        ORGALINK_CLI, std::vector<std::string>{"--state", dir_.File("organizer.bkf")});
    EXPECT_FALSE(simulator->Device().empty());
    return simulator;
  }
  std::unique_ptr<RunningProgram> StartWatch(const std::string& port) {
    return std::make_unique<RunningProgram>(
        ORGALINK_CLI, std::vector<std::string>{"watch", "--port", port, "--settings", settings_});
  }
  // Waits until the watch has printed `lines` result lines.
  static bool AwaitResults(const RunningProgram& watch, int lines) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < give_up) {
      if (Lines(watch.OutputSoFar()) >= lines) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  std::vector<std::string> BackupFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(backups_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testsupport::TempDir dir_;
  const std::string settings_ = dir_.File("Orgalink.ini");
  const std::string backups_ = dir_.File("backups");
  const std::string runtime_ = dir_.File("run");
  std::optional<std::string> oldRuntime_;
};

TEST_F(WatchCommand, BacksUpEachOfferLikeBackupAndEndsCleanlyOnSigterm) {
  auto simulator = StartSimulator();
  auto watch = StartWatch(simulator->Device());
  ASSERT_TRUE(AwaitResults(*watch, 3)) << watch->ErrorSoFar();
  // Most likely in the middle of the next backup.
  watch->Signal(SIGTERM);
  const auto ended = watch->WaitAtMost(std::chrono::seconds(1));
  ASSERT_TRUE(ended.has_value()) << "watch did not end within a second of SIGTERM";
  EXPECT_EQ(ended->exit_code, 143) << ended->err;

  // One line per archive, naming it with its counts and time; nothing else
  // (no half-written archive, no passing file) in the folder.
  const std::regex line(R"((.*/(\d{8}(-\d+)?\.bkf)): Telephone 24, .*Expense \d+; \d+\.\d s)");
  std::vector<std::string> printed;
  std::istringstream out(ended->out);
  for (std::string text; std::getline(out, text);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << text;
    printed.push_back(match[2]);
  }
  std::sort(printed.begin(), printed.end());
  EXPECT_GE(printed.size(), 3u);
  EXPECT_EQ(BackupFolder(), printed);

  const std::string reference = dir_.File("reference.bkf");
  const auto backup = RunProgram(
      ORGALINK_CLI, {"backup", reference, "--port", simulator->Device(), "--settings", settings_});
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  for (const std::string& name : printed) {
    EXPECT_EQ(testsupport::ReadFile(backups_ + "/" + name), testsupport::ReadFile(reference))
        << name;
  }
}

TEST_F(WatchCommand, WaitsForAVanishedDeviceAndBacksUpOnceItReturns) {
  // A stable name that leads to the device, as /dev/serial/by-id does: it
  // goes with the device and comes back with it.
  const std::string name = dir_.File("organizer");
  auto simulator = StartSimulator();
  fs::create_symlink(simulator->Device(), name);
  auto watch = StartWatch(name);
  ASSERT_TRUE(AwaitResults(*watch, 1)) << watch->ErrorSoFar();

  simulator->Program().Signal(SIGINT);
  simulator->Program().Wait();
  fs::remove(name);
  ASSERT_TRUE(watch->WaitForError(name + " went away", std::chrono::seconds(10)))
      << watch->ErrorSoFar();
  const int before = Lines(watch->OutputSoFar());

  simulator = StartSimulator();
  fs::create_symlink(simulator->Device(), name);
  ASSERT_TRUE(watch->WaitForError(name + " is back", std::chrono::seconds(10)))
      << watch->ErrorSoFar();
  EXPECT_TRUE(AwaitResults(*watch, before + 1)) << watch->ErrorSoFar();
  watch->Signal(SIGINT);
  EXPECT_EQ(watch->Wait().exit_code, 130);
}

TEST_F(WatchCommand, AnotherCommandIsToldThatWatchHoldsThePort) {
  auto simulator = StartSimulator();
  auto watch = StartWatch(simulator->Device());
  ASSERT_TRUE(watch->WaitForError("makes a backup in", std::chrono::seconds(10)))
      << watch->ErrorSoFar();
  const auto refused = RunProgram(ORGALINK_CLI, {"backup", dir_.File("x.bkf"), "--port",
                                                 simulator->Device(), "--settings", settings_});
  EXPECT_NE(refused.exit_code, 0);
  EXPECT_NE(refused.err.find("held by orgalink watch, process " + std::to_string(watch->Pid())),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(dir_.File("x.bkf")));
}

}  // namespace
}  // namespace orgalink
