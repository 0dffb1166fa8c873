// SPDX-License-Identifier: GPL-3.0-or-later
// What a backup, a restore, an export and the log leave behind is for the
// user's eyes only; history lists it and prune thins it out, in the
// commands a user runs against the simulated organizer.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

unsigned Mode(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

// The simulated organizer and the settings live in the test's own folder,
// none of whose folders exists yet.
class HistoryPruneCommandTest : public testing::Test {
 protected:
  HistoryPruneCommandTest() : umask_(::umask(0)) {
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  }
  ~HistoryPruneCommandTest() override {
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    ::umask(umask_);
  }
  std::vector<std::filesystem::path> Archives() const {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(backupDir)) {
      found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  // Nothing may rely on the umask to keep the organizer's data private.
  mode_t umask_;
  testsupport::TempDir dir;
  std::string data = dir.File("data");
  std::string config = dir.File("config");
  std::filesystem::path backupDir = std::filesystem::path(data) / "orgalink" / "DATA";
  std::string log = dir.File("comm.log");
};

TEST_F(HistoryPruneCommandTest, WhatTheCommandsCreateIsPrivateAndHistoryAndPruneSeeIt) {
  const auto backup = RunProgram(ORGALINK_CLI, {"backup", "--port", "sim", "--log", log});
  ASSERT_EQ(backup.exit_code, 0) << backup.err << testsupport::ReadFile(log);
  const auto restore =
      RunProgram(ORGALINK_CLI, {"restore", "--yes", "--port", "sim", Archives().front()});
  ASSERT_EQ(restore.exit_code, 0) << restore.err;
  const std::string exported = dir.File("contents.json");
  const auto exporting = RunProgram(ORGALINK_CLI, {"export", Archives().front(), "-o", exported});
  ASSERT_EQ(exporting.exit_code, 0) << exporting.err;

  const std::vector<std::filesystem::path> archives = Archives();
  ASSERT_EQ(archives.size(), 2u);
  EXPECT_EQ(archives[1].filename().string().rfind("before-restore-", 0), 0u) << archives[1];
  for (const std::filesystem::path& file :
       {archives[0], archives[1], std::filesystem::path(exported), std::filesystem::path(log)}) {
    EXPECT_EQ(Mode(file), 0600u) << file;
  }
  for (const std::filesystem::path& folder :
       {backupDir, backupDir.parent_path(), std::filesystem::path(data)}) {
    EXPECT_EQ(Mode(folder), 0700u) << folder;
  }
  const std::filesystem::path settings =
      std::filesystem::path(config) / "orgalink" / "Orgalink.ini";
  if (std::filesystem::exists(settings)) {
    EXPECT_EQ(Mode(settings), 0600u);
    EXPECT_EQ(Mode(settings.parent_path()), 0700u);
  }

  // The safety copy holds what the backup read, so nothing changed.
  const auto history = RunProgram(ORGALINK_CLI, {"history", "--json"});
  ASSERT_EQ(history.exit_code, 0) << history.err;
  const nlohmann::json listed = nlohmann::json::parse(history.out);
  EXPECT_EQ(listed["folder"], backupDir.string());
  ASSERT_EQ(listed["archives"].size(), 2u);
  EXPECT_EQ(listed["archives"][0]["kind"], "safety") << history.out;
  EXPECT_EQ(listed["archives"][0]["comparedWith"], archives[0].filename().string());
  EXPECT_EQ(listed["archives"][0]["applications"][0],
            nlohmann::json::parse(R"({"application": "Telephone", "code": 5, "records": 24,
                                      "added": 0, "removed": 0})"));

  const auto none = RunProgram(ORGALINK_CLI, {"prune"});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_NE(none.err.find("nothing removed"), std::string::npos) << none.err;
  const auto pruned = RunProgram(ORGALINK_CLI, {"prune", "--keep-last", "1", "--keep-safety", "0"});
  EXPECT_EQ(pruned.exit_code, 0) << pruned.err;
  EXPECT_EQ(pruned.out, "removed " + archives[1].string() + "\nkept 1 of 2 archives in " +
                            backupDir.string() + "\n");
  EXPECT_EQ(Archives(), std::vector<std::filesystem::path>{archives[0]});
}

}  // namespace
}  // namespace orgalink
