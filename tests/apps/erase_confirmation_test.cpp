// SPDX-License-Identifier: GPL-3.0-or-later
// Runs that empty the organizer ask first: on a terminal with the restore
// question, without one only with --yes, and nothing reaches the port before
// the answer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/terminal_session.h"

namespace orgalink {
namespace {

using testsupport::Bytes;
using testsupport::CommandFrame;

class EraseConfirmationTest : public ::testing::Test {
 protected:
  EraseConfirmationTest() { std::ofstream{dir.File("Orgalink.ini")}; }
  // The options every run here shares: the organizer's line without echo, a
  // log that exists only once the port is about to open, the test's settings.
  std::vector<std::string> Args(std::vector<std::string> args) {
    args.insert(args.end(), {"--port", line.slave_path(), "--echo", "0", "--log", log, "--settings",
                             dir.File("Orgalink.ini")});
    return args;
  }
  // The organizer acknowledges one DELETE_ALL_RECORDS; returns what it got.
  std::thread AcknowledgeDeletion(Bytes& received) {
    return std::thread([this, &received] {
      received = line.Read(5);
      if (!received.empty()) line.Write(CommandFrame(0x06));
    });
  }
  bool Started() const { return std::filesystem::exists(log); }

  testsupport::TempDir dir;
  testsupport::Pty line;
  std::string log = dir.File("comm.log");
  std::string archive = dir.File("old.bkf");
};

TEST_F(EraseConfirmationTest, WithoutATerminalOnlyYesLetsItRun) {
  // An archive without sections: the restore reads it whole before it asks.
  std::ofstream(archive) << std::string("IM2BK1\x02\x00\x00", 9);
  const std::vector<std::string> commands[] = {{"restore", archive},
                                               {"run-mode", "2", "--file", archive},
                                               {"run-mode", "4", "--file", archive},
                                               {"run-mode", "14"}};
  for (const auto& command : commands) {
    const auto result = testsupport::RunProgram(ORGALINK_CLI, Args(command));
    EXPECT_EQ(result.exit_code, 2) << command[1];
    EXPECT_NE(result.err.find("give --yes to confirm"), std::string::npos) << result.err;
    EXPECT_FALSE(Started()) << command[1];
  }
  Bytes received;
  std::thread organizer = AcknowledgeDeletion(received);
  const auto result = testsupport::RunProgram(
      ORGALINK_CLI, Args({"run-mode", "14", "--app", "Memo", "--yes", "--yes"}));
  organizer.join();
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(received, CommandFrame(0x0b, 3, 0));
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("SUCCESS DELETE_ALL_RECORDS\n"), std::string::npos) << result.err;
}

TEST_F(EraseConfirmationTest, OnATerminalTheRestoreQuestionDecides) {
  const std::string question =
      "This operation will overwrite ALL applications on your Organizer.\r\nContinue restore? "
      "[y/N] ";
  {
    testsupport::TerminalSession session(ORGALINK_CLI, Args({"run-mode", "14"}));
    ASSERT_TRUE(session.WaitFor(question)) << session.Screen();
    session.Type("n\n");
    EXPECT_EQ(session.Wait(), 1);
    EXPECT_NE(session.Screen().find("Nothing was sent to the organizer."), std::string::npos);
    EXPECT_FALSE(Started());
  }
  Bytes received;
  std::thread organizer = AcknowledgeDeletion(received);
  testsupport::TerminalSession session(ORGALINK_CLI,
                                       Args({"run-mode", "14", "--app", "Telephone"}));
  ASSERT_TRUE(session.WaitFor(question)) << session.Screen();
  session.Type("y\n");
  EXPECT_EQ(session.Wait(), 0) << session.Screen();
  organizer.join();
  EXPECT_EQ(received, CommandFrame(0x0b, 5, 0));
  EXPECT_NE(session.Screen().find("SUCCESS DELETE_ALL_RECORDS"), std::string::npos);
}

TEST_F(EraseConfirmationTest, AnArchiveThatCannotBeReadStopsTheRestoreFirst) {
  const std::string cases[] = {dir.File("missing.bkf"), dir.path().string()};
  for (const std::string& path : cases) {
    const auto result = testsupport::RunProgram(ORGALINK_CLI, Args({"restore", "--yes", path}));
    EXPECT_EQ(result.exit_code, 17) << path;
    EXPECT_NE(result.err.find("Read file error.\nCause: " + path + ": "), std::string::npos)
        << result.err;
    EXPECT_FALSE(Started()) << path;
  }
}

}  // namespace
}  // namespace orgalink
