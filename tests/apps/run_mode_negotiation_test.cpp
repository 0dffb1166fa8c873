// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink run-mode 0 against an organizer played on a pseudo-terminal.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/pty_organizer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::CommandFrame;

// The base models (E, E+) are told apart by a probe that runs into a real
// one-second time-out here; they are covered on virtual time in the
// negotiation tests, so the program is run only with an M and a mismatch.
TEST(RunModeNegotiation, ReportsTheVariantOrTheMismatch) {
  const struct {
    const char* name;
    std::uint8_t low, high;
    bool answersProbe;
    int exitCode;
    const char* logLine;
  } cases[] = {
      {"M", 1, 2, true, 0, "---HDD is PELLICOM\r\n\r\n"},
      {"other device code", 0, 1, false, 11, "!!!Another Device Code(High)\r\n\r\n"},
  };
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    testsupport::Pty pty;
    const std::string log = dir.File("comm.log");
    std::thread organizer([&] {
      if (!testsupport::OfferLinkOnPty(pty)) return;
      pty.Write(CommandFrame(8, c.low, c.high));
      if (c.answersProbe && pty.Read(5) == CommandFrame(16)) pty.Write(CommandFrame(8, 1, 2));
    });
    std::ofstream{dir.File("Orgalink.ini")};
    const auto result = testsupport::RunProgram(
        ORGALINK_CLI, {"run-mode", "0", "--port", pty.slave_path(), "--echo", "0", "--log", log,
                       "--settings", dir.File("Orgalink.ini")});
    organizer.join();
    EXPECT_EQ(result.exit_code, c.exitCode) << c.name << result.err;
    const std::string text = testsupport::ReadFile(log);
    EXPECT_NE(text.find(c.logLine), std::string::npos) << c.name << text;
    if (c.exitCode == 0) {
      EXPECT_EQ(result.out, "") << c.name;
      EXPECT_NE(result.err.find("SUCCESS Negotiation\n"), std::string::npos) << c.name;
    } else {
      EXPECT_NE(result.err.find("I/O Device error."), std::string::npos) << c.name;
    }
  }
}

}  // namespace
}  // namespace orgalink
