// SPDX-License-Identifier: GPL-3.0-or-later
// A command waiting for input that never comes (a FIFO nobody writes, a
// standard input nobody types into) ends on Ctrl-C at once, as the shell
// expects, and leaves no output file behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

// The signal watcher is a thread of its own: once it runs, a Ctrl-C is
// the program's to handle, not the default action's.
bool WatcherRunning(int pid) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  while (std::chrono::steady_clock::now() < give_up) {
    std::error_code error;
    const auto count = std::distance(std::filesystem::directory_iterator(tasks, error),
                                     std::filesystem::directory_iterator());
    if (!error && count >= 2) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

struct WaitingCommand {
  const char* name;
  // Run by sh with FIFO and OUT set; `exec` keeps the program's pid.
  const char* script;
};

class InterruptedInput : public testing::TestWithParam<WaitingCommand> {};

TEST_P(InterruptedInput, CtrlCEndsItWithin130AndNoOutput) {
  testsupport::TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string out = dir.File("out.bkf");
  std::string script = GetParam().script;
  script = "FIFO='" + fifo + "' OUT='" + out + "' CLI='" + ORGALINK_CLI + "'; " + script;
  testsupport::RunningProgram program("/bin/sh", {"-c", script});
  ASSERT_TRUE(WatcherRunning(program.Pid()));
  const auto start = std::chrono::steady_clock::now();
  program.Signal(SIGINT);
  const auto ended = program.WaitAtMost(std::chrono::seconds(1));
  ASSERT_TRUE(ended.has_value()) << "still waiting a second after Ctrl-C";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(ended->exit_code, 130) << ended->err;
  // Ended by the program itself, which says so, not by the signal's default.
  EXPECT_FALSE(ended->err.empty());
  EXPECT_FALSE(std::filesystem::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, InterruptedInput,
    testing::Values(
        // Opened for reading and writing, the FIFO has a writer that never writes.
        WaitingCommand{"ImportFromStandardInput",
                       "exec \"$CLI\" import - -o \"$OUT\" <> \"$FIFO\""},
        WaitingCommand{"InspectAFifo", "exec \"$CLI\" inspect \"$FIFO\""},
        WaitingCommand{"ExportAFifo", "exec \"$CLI\" export \"$FIFO\" -o \"$OUT\""}),
    [](const testing::TestParamInfo<WaitingCommand>& info) { return info.param.name; });

}  // namespace
}  // namespace orgalink
