// SPDX-License-Identifier: GPL-3.0-or-later
// What a script sees: results alone on standard output, the rest on
// standard error; --quiet, TERM=dumb, inspect --json and an unknown command.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/terminal_session.h"

namespace orgalink {
namespace {

using namespace testsupport;

class OutputStreamsTest : public ::testing::Test {
 protected:
  OutputStreamsTest() { std::ofstream(ini) << "[Settings]\nCOMPort=1\n"; }
  std::vector<std::string> Backup(std::vector<std::string> extra) {
    std::vector<std::string> args = {"backup", "--port",     "sim", "--baud",
                                     "115200", "--settings", ini,   archive};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  TempDir dir;
  std::string ini = dir.File("Orgalink.ini");
  std::string archive = dir.File("A.bkf");
};

// With a log the run ends with its success texts; they, like the
// instructions and the progress, stay off standard output, and --quiet
// leaves them out too: a nightly backup that went well says nothing at all,
// log or not.
TEST_F(OutputStreamsTest, ResultsAloneGoToStandardOutput) {
  const std::string counts =
      archive +
      "\n  Telephone: 24 records\n  Schedule: 8 records\n  Anniversary: 5 records\n"
      "  To Do: 6 records\n  Memo: 6 records\n  Expense Category: 1 record\n"
      "  Expense: 8 records\n";
  const struct {
    std::vector<std::string> options;
    std::string out;
    std::string err;
  } cases[] = {
      {{},
       counts,
       "(.|\n)*Press the \\[PC-LINK\\] button.\n\nWaiting for Organizer...\n(.|\n)*"
       "Finished.\nSUCCESS Backup\nTime:\\d+sec\n"},
      {{"-q"}, "", ""},
      {{"--quiet"}, "", ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> options = {"--log", dir.File("comm.log")};
    options.insert(options.end(), c.options.begin(), c.options.end());
    const auto result = RunProgram(ORGALINK_CLI, Backup(options));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, c.out);
    EXPECT_TRUE(std::regex_match(result.err, std::regex(c.err))) << result.err;
  }
}

// A terminal that cannot move the cursor gets the progress a line per
// change, without escape sequences; any other gets the live bar.
TEST_F(OutputStreamsTest, ADumbTerminalGetsNoCursorControl) {
  const char* old = getenv("TERM");
  const std::string kept = old != nullptr ? old : "";
  for (const std::string term : {"dumb", "xterm"}) {
    setenv("TERM", term.c_str(), 1);
    TerminalSession session(ORGALINK_CLI, Backup({}));
    EXPECT_EQ(session.Wait(), 0) << session.Screen();
    const bool escapes = session.Screen().find('\x1b') != std::string::npos;
    EXPECT_EQ(escapes, term != "dumb") << term << session.Screen();
    if (term == "dumb") {
      EXPECT_NE(session.Screen().find("Receiving... Memo\r\n"), std::string::npos);
    }
  }
  if (old != nullptr) {
    setenv("TERM", kept.c_str(), 1);
  } else {
    unsetenv("TERM");
  }
}

TEST_F(OutputStreamsTest, InspectJsonDescribesTheArchive) {
  ASSERT_EQ(RunProgram(ORGALINK_CLI, Backup({"--app", "memo"})).exit_code, 0);
  const auto result = RunProgram(ORGALINK_CLI, {"inspect", "--json", archive});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["archive"], archive);
  EXPECT_EQ(json["magic"], "IM2BK1");
  EXPECT_EQ(json["inverted"], true);
  EXPECT_EQ(json["deviceCode"], nlohmann::json::array({2, 0}));
  ASSERT_EQ(json["sections"].size(), 1u);
  EXPECT_EQ(json["sections"][0]["application"], "Memo");
  EXPECT_EQ(json["sections"][0]["code"], 3);
  EXPECT_EQ(json["sections"][0]["records"], 6);

  std::ofstream(dir.File("foreign.bkf")) << "not an archive";
  const auto foreign = RunProgram(ORGALINK_CLI, {"inspect", "--json", dir.File("foreign.bkf")});
  EXPECT_EQ(foreign.exit_code, 1);
  EXPECT_EQ(foreign.out, "");
  EXPECT_NE(foreign.err.find("not a usable archive"), std::string::npos) << foreign.err;
}

TEST(CommandLine, AnUnknownCommandIsNamed) {
  const auto result = RunProgram(ORGALINK_CLI, {"bogus", "--port", "sim"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("unknown command 'bogus'; the commands are backup, restore"),
            std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace orgalink
