// SPDX-License-Identifier: GPL-3.0-or-later
// What the program meets at its edges: descriptors it was started without,
// a settings file that never ends, a settings file that cannot be kept.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

constexpr const char* kSample = ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf";

// Started with standard output closed, the program's own descriptors (the
// abort request's) must not take its place and swallow the listing.
TEST(ProcessBoundaries, ClosedStandardDescriptorsAreNotTakenByTheProgramsOwn) {
  for (const char* closing : {">&-", "<&- >&- 2>&-"}) {
    const auto run = RunProgram("/bin/sh", {"-c", std::string("exec '") + ORGALINK_CLI +
                                                      "' inspect " + kSample + " " + closing});
    EXPECT_EQ(run.exit_code, 0) << closing << "\n" << run.err;
  }
}

TEST(ProcessBoundaries, ASettingsFileWithoutEndIsRefusedAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  const auto run =
      RunProgram(ORGALINK_CLI, {"backup", "--settings", "/dev/zero", "--port", "sim", "x.bkf"});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("/dev/zero: cannot be read: File too large"), std::string::npos)
      << run.err;
}

// A run that went well but whose first settings file cannot be written
// says so and exits as detect --save does.
TEST(ProcessBoundaries, ASettingsFileThatCannotBeKeptGives74) {
  testsupport::TempDir dir;
  std::ofstream(dir.File("not-a-folder")) << "a file where the settings folder would go";
  setenv("XDG_CONFIG_HOME", dir.File("not-a-folder").c_str(), 1);
  setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  const auto run = RunProgram(ORGALINK_CLI, {"backup", "-q", "--port", "sim", dir.File("a.bkf")});
  EXPECT_EQ(run.exit_code, 74) << run.err;
  EXPECT_NE(run.err.find("not-a-folder"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace orgalink
