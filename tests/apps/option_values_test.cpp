// SPDX-License-Identifier: GPL-3.0-or-later
// Values no communication can use, on the command line and in the settings
// file, end the command with 2 before anything is printed or opened; and a
// run of one application shows its progress to the end.

#include <gtest/gtest.h>

#include <fstream>

#include "support/pty.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/terminal_session.h"

namespace orgalink {
namespace {

using namespace testsupport;

constexpr const char* kInstructions = "Press the [ON/OFF] button";

struct Refusal {
  std::vector<std::string> args;
  int exitCode;
  std::string said;  // "" for a value that is taken
};

// Runs each case against a pty with no organizer behind it: a refused value
// must leave the port without a byte and print no instructions.
void ExpectRefusedBeforeThePort(const std::vector<Refusal>& cases, const std::string& ini) {
  for (const Refusal& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += arg + " ";
    SCOPED_TRACE(shown);
    Pty line;
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--port", line.slave_path(), "--echo", "0", "--settings", ini});
    const auto result = RunProgram(ORGALINK_CLI, args);
    EXPECT_EQ(result.exit_code, c.exitCode) << result.err;
    EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(kInstructions), std::string::npos) << result.err;
    EXPECT_EQ(line.Read(1, 50).size(), 0u);
  }
}

// The archive's folder is missing, so a value that is taken ends at that
// check (17), still without a port.
TEST(OptionValues, AreCheckedBeforeThePortOpens) {
  TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=1\n";
  const std::string archive = dir.File("missing/x.bkf");
  auto backup = [&](const std::string& option, const std::string& value) {
    return std::vector<std::string>{"backup", option, value, archive};
  };
  const std::vector<Refusal> cases = {
      {backup("--to-command", "-5"), 2, "orgalink: --to-command: -5 is not 1 to 3600 seconds\n"},
      {backup("--to-command", "0"), 2, "orgalink: --to-command: 0 is not 1 to 3600 seconds\n"},
      {backup("--to-command", "3601"), 2, "--to-command: 3601 is not 1 to 3600 seconds"},
      // Beyond what a deadline can hold, once refused by nobody.
      {backup("--to-command", "9223372036854775807"), 2,
       "--to-command: 9223372036854775807 is not 1 to 3600 seconds"},
      {backup("--to-multiplier", "9223372036854775807"), 2, "--to-multiplier: 9223372036854775807"},
      {backup("--to-multiplier", "-9223372036854775808"), 2, "--to-multiplier: -92233"},
      {backup("--to-data", "-1"), 2, "orgalink: --to-data: -1 is not 1 to 3600 seconds\n"},
      {backup("--to-data", "0"), 2, "orgalink: --to-data: 0 is not 1 to 3600 seconds\n"},
      {backup("--to-multiplier", "-1"), 2,
       "orgalink: --to-multiplier: -1 is not 0 to 1000 ms per byte\n"},
      {backup("--quiet-window", "-1"), 2, "orgalink: --quiet-window: -1 is not 0 to 500 ms\n"},
      {backup("--quiet-window", "100000"), 2, "--quiet-window: 100000 is not 0 to 500 ms"},
      {{"restore", "--yes", "--to-command", "-5", archive}, 2, "--to-command: -5 is not"},
      {{"run-mode", "99"}, 2, "orgalink: RunMode 99 does not exist; N must be 0 to 18\n"},
      {{"run-mode", "19"}, 2, "orgalink: RunMode 19 does not exist; N must be 0 to 18\n"},
      {{"run-mode", "-1"}, 2, "orgalink: RunMode -1 does not exist; N must be 0 to 18\n"},
      {{"run-mode", "1"},
       2,
       "orgalink: RunMode 1 needs --file: RunModes 1 to 8 work on an archive"},
      {{"run-mode", "2", "--yes"}, 2, "orgalink: RunMode 2 needs --file"},
      {{"run-mode", "8", "--yes"}, 2, "orgalink: RunMode 8 needs --file"},
      {{"run-mode", "11", "--to-data", "0"}, 2, "--to-data: 0 is not 1 to 3600 seconds"},
      // The ends of each range are taken.
      {backup("--to-command", "1"), 17, "Write file error."},
      {backup("--to-data", "3600"), 17, "Write file error."},
      {backup("--to-multiplier", "0"), 17, "Write file error."},
      {backup("--quiet-window", "0"), 17, "Write file error."},
      {backup("--quiet-window", "500"), 17, "Write file error."},
  };
  ExpectRefusedBeforeThePort(cases, ini);
  // Without --port the settings' COM1 is never opened either.
  const auto result = RunProgram(ORGALINK_CLI, {"run-mode", "99", "--settings", ini});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.err.find("Error opening COM1"), std::string::npos) << result.err;
}

// A bad value in the settings file is named with its key and the file; the
// file itself is left as the user wrote it. Disabled until Communicate and
// detect call CheckSettingsValues right after LoadSettings.
TEST(SettingsValues, AreCheckedBeforeThePortOpens) {
  TempDir dir;
  const struct {
    std::string settings;
    std::string said;
  } cases[] = {
      {"TOCommand=abc", "TOCommand=abc is not a whole number (1 to 3600 seconds)"},
      {"TOCommand=-5", "TOCommand=-5 is not 1 to 3600 seconds"},
      {"TOCommand=0", "TOCommand=0 is not 1 to 3600 seconds"},
      {"TODataPacket=0", "TODataPacket=0 is not 1 to 3600 seconds"},
      {"TOMultiplier=-1", "TOMultiplier=-1 is not 0 to 1000 ms per byte"},
      {"QuietWindow=100000", "QuietWindow=100000 is not 0 to 500 ms"},
      {"DeviceCode=7", "DeviceCode=7 is not 1 or 2"},
      {"EchoBack=off", "EchoBack=off is not a whole number"},
  };
  const std::string ini = dir.File("Orgalink.ini");
  std::vector<Refusal> refusals;
  for (const auto& c : cases) {
    const std::string text = "[Settings]\nCOMPort=1\n" + c.settings + "\n";
    std::ofstream(ini) << text;
    ExpectRefusedBeforeThePort(
        {{{"backup", dir.File("a.bkf")}, 2, "orgalink: the settings file " + ini + ": " + c.said}},
        ini);
    EXPECT_EQ(ReadFile(ini), text);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.bkf")));
  }
  // A folder is no settings file.
  ExpectRefusedBeforeThePort(
      {{{"run-mode", "11"}, 2, "the settings file " + dir.File("") + ": cannot be read"}},
      dir.File(""));
}

// --app: no milestones of the whole operation, but the one application's
// transfer carries the bar from waiting to the end.
TEST(OneApplicationProgress, RunsFromWaitingToFinished) {
  TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Path]\nBackupDir=" << dir.File("backups") << "\n";
  const std::string archive = dir.File("memo.bkf");
  const std::string categories = dir.File("categories.bkf");
  const std::vector<std::string> commands[] = {
      {"backup", "--app", "Memo", archive},
      {"restore", "--yes", "--app", "Memo", archive},
      // The expense category table reports no progress of its own.
      {"backup", "--app", "Expense Category", categories},
      {"restore", "--yes", "--app", "Expense Category", categories},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command[0] + " " + command[command.size() - 2]);
    std::vector<std::string> args = command;
    args.insert(args.end(), {"--port", "sim", "--settings", ini});
    TerminalSession session(ORGALINK_CLI, args);
    EXPECT_EQ(session.Wait(), 0) << session.Screen();
    EXPECT_NE(session.Screen().find("Waiting for Organizer..."), std::string::npos);
    EXPECT_NE(session.Screen().find("100%  Finished."), std::string::npos) << session.Screen();
  }
}

}  // namespace
}  // namespace orgalink
