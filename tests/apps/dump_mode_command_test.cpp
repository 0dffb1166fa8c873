// SPDX-License-Identifier: GPL-3.0-or-later
// The dump-file RunModes from the command line: where the dump files are.

#include <gtest/gtest.h>

#include <fstream>

#include "support/pty.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

// The dump files live with the settings file. An empty dump sends nothing,
// so the run needs no organizer.
TEST(DumpModeCommand, ReadsTheDumpFileBesideTheSettingsFile) {
  testsupport::TempDir dir;
  testsupport::Pty pty;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream{ini};
  const std::string log = dir.File("comm.log");
  std::ofstream(dir.File("memo.snd")).flush();
  const auto result = testsupport::RunProgram(
      ORGALINK_CLI, {"run-mode", "13", "--app", "Memo", "--port", pty.slave_path(), "--echo", "0",
                     "--log", log, "--settings", ini});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("SUCCESS SEND_1_RECORD\n"), std::string::npos) << result.err;
  const std::string text = testsupport::ReadFile(log);
  EXPECT_NE(text.find("<<====Read File (" + dir.File("memo.snd") + ")\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("---Pass (This appli is NO data)\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace orgalink
