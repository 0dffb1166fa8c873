// SPDX-License-Identifier: GPL-3.0-or-later
// The orgalink program itself: options, settings file, exit status, output.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "support/file_bytes.h"
#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

class RunModeCommandTest : public ::testing::Test {
 protected:
  RunModeCommandTest() { std::ofstream{ini}; }
  std::vector<std::string> Args(std::vector<std::string> args) {
    args.insert(args.end(), {"--settings", ini});
    return args;
  }
  // Waits up to five seconds for `text` to appear in the log of a program
  // still running.
  bool LogShows(const std::string& text) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (testsupport::ReadFile(log).find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  testsupport::TempDir dir;
  std::string ini = dir.File("Orgalink.ini");
  std::string log = dir.File("comm.log");
};

TEST_F(RunModeCommandTest, NackOverAPseudoTerminal) {
  testsupport::Pty pty;
  const auto result =
      RunProgram(ORGALINK_CLI,
                 Args({"run-mode", "11", "--port", pty.slave_path(), "--echo", "0", "--log", log}));
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("SUCCESS send NACK\n"), std::string::npos) << result.err;
  EXPECT_EQ(pty.Read(5), (std::vector<std::uint8_t>{0x7f, 0x15, 0x00, 0x00, 0x94}));
  const std::regex shape(
      "\\{\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\}\r\n"
      "===== Start Settings =====\r\nRunMode=11\r\nDeviceCode=2\r\nCOMPort=0\r\n"
      "BaudRate=19200\r\nAppliMode=ALL\r\nFileName=\r\nLogFileName=[^\r]*\r\nEchoBack=0\r\n"
      "FileScramble=1\r\nTOCommand=30000\r\nTODataPacket=30000\r\nTOMultiplier=0\r\n"
      "===== End Settings =====\r\n\r\n"
      "\\{\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\}\r\n##### START COMMUNICATION #####\r\n\r\n"
      "\\{\\+\\d{7}\\}>>>>>>Send    \\[ 7f 15 00 00 94 \\]\r\n"
      "\\{\\+\\d{7}\\}##### END COMMUNICATION #####\r\n\r\n");
  const std::string text = testsupport::ReadFile(log);
  EXPECT_TRUE(std::regex_match(text, shape)) << text;
}

TEST_F(RunModeCommandTest, SettingsFileSuppliesWhatTheOptionsLeaveOut) {
  std::ofstream(ini) << "[Settings]\nEchoBack=1\nTOCommand=45\n";
  const auto result =
      RunProgram(ORGALINK_CLI, Args({"run-mode", "12", "--port", "loop", "--log", log}));
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("SUCCESS send END_COMMUNICATION\n"), std::string::npos) << result.err;
  const std::string text = testsupport::ReadFile(log);
  EXPECT_NE(text.find("EchoBack=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("TOCommand=45000\r\n"), std::string::npos);
  EXPECT_NE(text.find("<<<<<<Receive1 [ 7f 09 00 00 88 ]"), std::string::npos);
}

// The exit status of every LinkStatus a failed communication ends with (a
// user's abort, 130, is the interrupt's test below).
TEST_F(RunModeCommandTest, FailuresExitWithTheirStatusAndMessage) {
  std::vector<std::uint8_t> truncated =
      testsupport::FileBytes(ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf");
  truncated.resize(truncated.size() / 2);
  testsupport::WriteBytes(dir.File("truncated.bkf"), truncated);
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message;  // empty: no notice at all
  } cases[] = {
      {{"run-mode", "19", "--port", "loop", "--echo", "0"}, 2, "RunMode 19 does not exist"},
      {{"run-mode", "11", "--port", "/nonexistent/tty"}, 10, "Error opening COM port.\n"},
      {{"run-mode", "11", "--port", "9"}, 2, "--port must be"},
      {{"restore"}, 2, "ARCHIVE is required"},
      // 267 would be RunMode 11 if it were cut to a byte.
      {{"run-mode", "267", "--port", "loop", "--echo", "0"}, 2, "RunMode 267 does not exist"},
      // The plug returns the ACK as its echo and then nothing: no command
      // comes within the shortest time-out, 1 s.
      {{"run-mode", "10", "--port", "loop", "--echo", "1", "--to-command", "1"},
       5,
       "Organizer not responding.\n"},
      {{"run-mode", "2", "--yes", "--port", "loop", "--file", dir.File("truncated.bkf")},
       13,
       "Backup file not compatible.\n"},
      // Without a terminal Retry/Cancel is answered Cancel, which is said;
      // the cancel itself gets no notice of its own.
      {{"run-mode", "2", "--yes", "--port", "loop", "--file", dir.File("missing.bkf")},
       17,
       "No such file or directory\nCause: " + dir.File("missing.bkf") +
           ": No such file or directory.\nCancelled: there is no terminal to answer Retry.\n"},
  };
  for (const auto& c : cases) {
    const auto result = RunProgram(ORGALINK_CLI, Args(c.args));
    EXPECT_EQ(result.exit_code, c.exit_code) << c.args[1];
    if (c.message.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
  }
}

// The settings file's port number is handed over as it stands; [Ports] may
// name a device for any number.
TEST_F(RunModeCommandTest, SettingsFilePortBeyondFourIsTriedNotRefused) {
  testsupport::Pty pty;
  struct Case {
    std::string ini;
    int exit_code;
    const char* logLine;
  } cases[] = {
      {"[Settings]\nCOMPort=7\n[Ports]\nCOM7=" + dir.File("none") + "\n", 10,
       "!!!Can't Open COM Port\r\n\r\n"},
      {"[Settings]\nCOMPort=5\nEchoBack=0\n[Ports]\nCOM5=" + pty.slave_path() + "\n", 0,
       ">>>>>>Send    [ 7f 15 00 00 94 ]"},
  };
  for (const auto& c : cases) {
    std::ofstream(ini) << c.ini;
    const auto result = RunProgram(ORGALINK_CLI, Args({"run-mode", "11", "--log", log}));
    EXPECT_EQ(result.exit_code, c.exit_code) << c.ini << result.err;
    const std::string text = testsupport::ReadFile(log);
    EXPECT_NE(text.find(c.logLine), std::string::npos) << text;
  }
}

TEST_F(RunModeCommandTest, InterruptAbortsAndStillReleasesTheOrganizer) {
  // RunMode 10 sends ACK and then waits up to 30 s for a command. The signal
  // goes once the ACK is out: a slow start (a sanitizer build on a loaded
  // machine) must not let it arrive before the program can watch for it.
  testsupport::RunningProgram program(
      ORGALINK_CLI, Args({"run-mode", "10", "--port", "loop", "--echo", "1", "--log", log}));
  ASSERT_TRUE(LogShows(">>>>>>Send    [ 7f 06 00 00 85 ]"));
  program.Signal(SIGINT);
  const auto result = program.Wait();
  EXPECT_EQ(result.exit_code, 130);
  EXPECT_EQ(result.err, "User aborted.\n");
  const std::string text = testsupport::ReadFile(log);
  const auto abort = text.find("<<<<<<!!!NO Receive(Wait Receive Queue Abort)\r\n\r\n");
  const auto nack = text.find(">>>>>>Send    [ 7f 15 00 00 94 ]");
  const auto end = text.find(">>>>>>Send    [ 7f 09 00 00 88 ]");
  ASSERT_NE(abort, std::string::npos) << text;
  EXPECT_LT(abort, nack);
  EXPECT_LT(nack, end);
  EXPECT_NE(end, std::string::npos);
}

// RunMode 10 on a pseudo-terminal: the organizer takes the PC's ACK and
// answers with its own. The largest time-outs the command line takes still
// wait for it (values beyond them are refused before the port opens).
TEST_F(RunModeCommandTest, LargestTimeOutOptionsStillWaitForTheAnswer) {
  const std::vector<std::string> options[] = {
      {"--to-command", "3600"},
      {"--to-data", "3600"},
      {"--to-multiplier", "1000"},
      {"--to-command=3600", "--to-multiplier=1000"},
  };
  for (const auto& extra : options) {
    testsupport::Pty pty;
    std::vector<std::string> args = {"run-mode", "10", "--port", pty.slave_path(), "--echo", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    testsupport::RunningProgram program(ORGALINK_CLI, Args(args));
    EXPECT_EQ(pty.Read(5), testsupport::CommandFrame(6)) << extra[0];
    pty.Write(testsupport::CommandFrame(6));
    const auto result = program.Wait();
    EXPECT_EQ(result.exit_code, 0) << extra.back() << result.err;
    EXPECT_EQ(result.out, "") << extra.back();
    EXPECT_NE(result.err.find("SUCCESS send ACK\n"), std::string::npos) << extra.back();
  }
}

// Stopped while it waits for the organizer, the program still releases it
// and exits as shells expect of the signal.
TEST_F(RunModeCommandTest, SignalDuringAWaitReleasesTheOrganizerAndSetsTheExitStatus) {
  struct Case {
    int signal;
    int exit_code;
  } cases[] = {{SIGTERM, 143}, {SIGINT, 130}};
  for (const auto& c : cases) {
    testsupport::Pty pty;
    testsupport::RunningProgram program(
        ORGALINK_CLI,
        Args({"run-mode", "10", "--port", pty.slave_path(), "--echo", "0", "--log", log}));
    ASSERT_EQ(pty.Read(5), testsupport::CommandFrame(6));
    // A stray byte, logged once the program reads it inside its wait.
    pty.Write({0x00});
    ASSERT_TRUE(LogShows("!!!NOT Command (Wait Command)"));
    program.Signal(c.signal);
    auto expected = testsupport::CommandFrame(0x15);
    const auto end = testsupport::CommandFrame(9);
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(pty.Read(10), expected) << c.signal;
    const auto result = program.Wait();
    EXPECT_EQ(result.exit_code, c.exit_code);
    EXPECT_EQ(result.err, "User aborted.\n");
  }
}

// An abort that meets a write ends the run with 11, and the log says so;
// but the user asked for the abort, and that is what the program reports.
TEST_F(RunModeCommandTest, SignalDuringAStalledWriteIsReportedAsTheAbort) {
  testsupport::Pty pty;
  // Held open by the test, which stops and restarts the line's output with it.
  const int line = open(pty.slave_path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(line, 0);
  ASSERT_EQ(tcflow(line, TCOOFF), 0);
  testsupport::RunningProgram program(
      ORGALINK_CLI,
      Args({"run-mode", "12", "--port", pty.slave_path(), "--echo", "0", "--log", log}));
  ASSERT_TRUE(LogShows("##### START COMMUNICATION #####"));
  // Past the line's quiet wait, into the write that cannot go out.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  program.Signal(SIGTERM);
  ASSERT_TRUE(LogShows(">>>>>>!!!Send FAILED"));
  tcflow(line, TCOON);
  auto expected = testsupport::CommandFrame(0x15);
  const auto end = testsupport::CommandFrame(9);
  expected.insert(expected.end(), end.begin(), end.end());
  EXPECT_EQ(pty.Read(10), expected);
  const auto result = program.Wait();
  close(line);
  EXPECT_EQ(result.exit_code, 143);
  EXPECT_EQ(result.err, "User aborted.\n");
}

TEST_F(RunModeCommandTest, HelpListsTheCommandsAndVersionNamesTheProgram) {
  const auto result = RunProgram(ORGALINK_CLI, {"--help"});
  EXPECT_EQ(result.exit_code, 0);
  for (const char* command : {"backup", "restore", "detect", "emulate", "run-mode", "inspect",
                              "export", "import", "ports"}) {
    EXPECT_NE(result.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  }
  const auto version = RunProgram(ORGALINK_CLI, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("orgalink ")) << version.out;
}

// As in common Unix tools, the last of a repeated option counts.
TEST_F(RunModeCommandTest, ARepeatedOptionTakesItsLastValue) {
  const auto result = RunProgram(
      ORGALINK_CLI, Args({"run-mode", "12", "--port", "9", "--port", "loop", "--echo", "0",
                          "--echo", "1", "--log", dir.File("first.log"), "--log", log}));
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(testsupport::ReadFile(log).find("EchoBack=1\r\n"), std::string::npos);
}

// A baud rate the engine does not know would run at 19200 unnoticed.
TEST_F(RunModeCommandTest, AnUnknownBaudRateIsAUsageErrorThatNamesTheRates) {
  for (const char* command : {"run-mode", "detect"}) {
    std::vector<std::string> args{command, "--baud", "4800"};
    if (args[0] == "run-mode") args.insert(args.begin() + 1, {"12", "--port", "loop"});
    const auto result = RunProgram(ORGALINK_CLI, Args(args));
    EXPECT_EQ(result.exit_code, 2) << command;
    EXPECT_NE(result.err.find("4800 not in {9600,19200,38400,57600,115200}"), std::string::npos)
        << result.err;
  }
}

}  // namespace
}  // namespace orgalink
