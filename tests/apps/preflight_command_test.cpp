// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line refuses before it opens a port: option values it
// cannot use, and a run that could not end well (no tables, no folder for
// the archive, a settings file that is not there).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/pty.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using namespace testsupport;

// Each value goes through the parsing of `backup`. The archive's folder is
// missing, so a value that is taken ends at that check (17) without a port,
// while one that is refused ends with 2 and says why.
TEST(CommandLineValues, AreTakenOrRefusedBeforeAnyPort) {
  TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=1\n";
  const std::string names =
      "{ALL,Telephone,Schedule,Anniversary,To Do,Memo,Expense,Expense Category}";
  const struct {
    std::string option, value;
    bool taken;
    std::string said;
  } cases[] = {
      {"--app", "all", true, ""},
      {"--app", "ALL", true, ""},
      {"--app", "expense category", true, ""},
      {"--app", "tO dO", true, ""},
      {"--app", "Foo", false, "--app: Foo not in " + names},
      {"--app", "ToDo", false, "not in " + names},
      {"--device-code", "1", true, ""},
      {"--device-code", "2", true, ""},
      {"--device-code", "0", false, "--device-code: 0 not in {1,2}"},
      {"--device-code", "3", false, "not in {1,2}"},
      {"--baud", "115200", true, ""},
      {"--baud", "4800", false, "--baud: 4800 not in"},
      {"--echo", "2", false, "--echo"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option + " " + c.value);
    const auto result = RunProgram(ORGALINK_CLI, {"backup", c.option, c.value, "--settings", ini,
                                                  "--port", "sim", dir.File("missing/x.bkf")});
    EXPECT_EQ(result.exit_code, c.taken ? 17 : 2) << result.err;
    if (!c.taken) {
      EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
  }
}

// `--app` in any case selects what the table names: `all` is every
// application, not the one an unknown name falls back to.
TEST(CommandLineValues, AppNamesInAnyCaseSelectTheirApplications) {
  TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=1\n";
  const struct {
    std::string app;
    std::string sections;
  } cases[] = {{"all", "sections: 7\n"}, {"memo", "sections: 1\n  1. Memo:"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.app);
    const std::string archive = dir.File(c.app + ".bkf");
    const auto backup = RunProgram(ORGALINK_CLI, {"backup", "--app", c.app, "--baud", "115200",
                                                  "--settings", ini, "--port", "sim", archive});
    ASSERT_EQ(backup.exit_code, 0) << backup.err;
    const auto inspect = RunProgram(ORGALINK_CLI, {"inspect", archive});
    EXPECT_NE(inspect.out.find(c.sections), std::string::npos) << inspect.out;
  }
}

// A run that cannot end well is refused at once, naming what is missing; the
// port, a pty with no organizer, never sees a byte. (A run that opened it
// would give up after the one second of --to-command and send NACK and
// END_COMMUNICATION.)
TEST(PreflightChecks, RefuseBeforeAnyByteIsWritten) {
  TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=1\n";
  const struct {
    std::string name;
    std::vector<std::string> args;
    int exitCode;
    std::string said;
  } cases[] = {
      {"archive folder missing",
       {dir.File("no/such/x.bkf")},
       17,
       "Write file error.\nCause: " + dir.File("no/such") + ": No such file or directory.\n"},
      {"archive folder is a file", {ini + "/x.bkf"}, 17, "Cause: " + ini + ": Not a directory."},
      {"tables missing",
       {"--data-dir", dir.File("nowhere"), dir.File("a.bkf")},
       2,
       "the character table " + dir.File("nowhere") + "/code.dat cannot be read"},
      {"settings file missing",
       {"--settings", dir.File("typo.ini"), dir.File("a.bkf")},
       2,
       "the settings file " + dir.File("typo.ini") + " does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Pty line;
    std::vector<std::string> args = {"backup",       "--port", line.slave_path(), "--echo", "0",
                                     "--to-command", "1",      "--settings",      ini};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto result = RunProgram(ORGALINK_CLI, args);
    EXPECT_EQ(result.exit_code, c.exitCode) << result.err;
    EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    EXPECT_EQ(line.Read(1, 50).size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("typo.ini")));
  }
}

// The commands that convert records without a port refuse too, rather than
// write text converted without the tables.
TEST(PreflightChecks, ExportAndImportNameAMissingTable) {
  TempDir dir;
  const std::string sample = std::string(ORGALINK_SOURCE_DIR) + "/data/sample_organizer.bkf";
  const std::string json = dir.File("sample.json");
  ASSERT_EQ(RunProgram(ORGALINK_CLI, {"export", sample, "-o", json}).exit_code, 0);
  const std::vector<std::string> commands[] = {{"export", sample, "-o", dir.File("x.json")},
                                               {"import", json, "-o", dir.File("x.bkf")}};
  for (const auto& command : commands) {
    SCOPED_TRACE(command[0]);
    std::vector<std::string> args = command;
    args.insert(args.end(), {"--data-dir", dir.File("nowhere")});
    const auto result = RunProgram(ORGALINK_CLI, args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find(dir.File("nowhere") + "/code.dat cannot be read"), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(command[3]));
  }
}

}  // namespace
}  // namespace orgalink
