// SPDX-License-Identifier: GPL-3.0-or-later
// A restore cut off part-way prints the command that puts the organizer's
// contents back; run through a shell exactly as printed, it does, whatever
// the restore addressed and wherever its safety archive lies.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunAsPrinted;
using testsupport::RunProgram;
using testsupport::SimulatorProcess;

constexpr const char* kSample = ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf";

struct RecoveryCase {
  const char* name;
  const char* variant;
  // The --app of the failed restore; empty for every application.
  const char* app;
  const char* backupDir;
};

// The organizer's contents before the failed restore: the sample less a
// record of each application, with only the memos short enough for one
// packet each, so that the packets of a transfer can be counted. Written as
// the simulator's state file; returns the records per application name.
std::map<std::string, int> WriteOrganizerBefore(const testsupport::TempDir& dir,
                                                const std::string& path) {
  const std::string json = dir.File("sample.json");
  EXPECT_EQ(RunProgram(ORGALINK_CLI, {"export", kSample, "-o", json}).exit_code, 0);
  nlohmann::json contents = nlohmann::json::parse(testsupport::ReadFile(json));
  std::map<std::string, int> counts;
  for (auto& section : contents["sections"]) {
    auto& records = section["records"];
    const std::string name = section["application"];
    if (name == "Memo") {
      nlohmann::json shortOnes = nlohmann::json::array();
      for (const auto& record : records) {
        if (record.dump().size() < 200) shortOnes.push_back(record);
      }
      records = shortOnes;
    } else if (name != "Expense Category") {
      records.erase(records.begin());
    }
    counts[name] = static_cast<int>(records.size());
  }
  std::ofstream(dir.File("before.json")) << contents.dump();
  EXPECT_EQ(
      RunProgram(ORGALINK_CLI, {"import", dir.File("before.json"), "-o", path, "--scramble", "0"})
          .exit_code,
      0);
  return counts;
}

// The simulator counts the packets of a session, sent and taken. The
// failing one cuts the line once the safety copy has taken every packet of
// what the restore addresses and the restore has sent one record; the
// expense category table, one packet, is cut as it is sent.
int CutAtPacket(const std::map<std::string, int>& counts, const std::string& app) {
  int safetyPackets = 0;
  for (const auto& [name, count] : counts) {
    if (app.empty() || app == name) safetyPackets += count;
  }
  return safetyPackets + (app == "Expense Category" ? 1 : 2);
}

void PointCom1At(const std::string& settings, const std::string& backupDir,
                 const std::string& device) {
  std::ofstream(settings) << "[Path]\nBackupDir=" << backupDir
                          << "\n[Settings]\nCOMPort=1\n[Ports]\nCOM1=" << device << "\n";
}

std::string PrintedCommand(const std::string& err) {
  const std::string lead = "To put them back: ";
  const auto start = err.find(lead);
  if (start == std::string::npos) return {};
  const auto end = err.find('\n', start);
  return err.substr(start + lead.size(), end - start - lead.size());
}

class RecoveryCommand : public testing::TestWithParam<RecoveryCase> {};

TEST_P(RecoveryCommand, PutsBackExactlyWhatTheOrganizerHeld) {
  const RecoveryCase& c = GetParam();
  testsupport::TempDir dir;
  const std::string state = dir.File("organizer.bkf");
  const std::string before = dir.File("before.bkf");
  const auto counts = WriteOrganizerBefore(dir, before);
  std::filesystem::copy_file(before, state);
  const std::string backupDir = dir.File(c.backupDir);
  const std::string settings = dir.File("Orgalink.ini");
  std::vector<std::string> restore{"restore", "--yes", "--settings", settings, kSample};
  if (*c.app != '\0') restore.insert(restore.begin() + 1, {"--app", c.app});

  {
    SimulatorProcess failing(ORGALINK_CLI,
                             {"--state", state, "--variant", c.variant, "--fault",
                              "hangup:" + std::to_string(CutAtPacket(counts, c.app))});
    ASSERT_FALSE(failing.Device().empty());
    PointCom1At(settings, backupDir, failing.Device());
    const auto failed = RunProgram(ORGALINK_CLI, restore);
    ASSERT_EQ(failed.exit_code, 11) << failed.err;
    const std::string command = PrintedCommand(failed.err);
    ASSERT_FALSE(command.empty()) << failed.err;
    EXPECT_EQ(command.find("--app") != std::string::npos, *c.app != '\0') << command;
    if (std::string(c.variant) == "E" && *c.app == '\0') {
      const auto left = RunProgram(ORGALINK_CLI, {"inspect", state});
      EXPECT_NE(left.out.find("Telephone: 1 record,"), std::string::npos) << left.out;
    }
    failing.Program().Signal(SIGTERM);
    failing.Program().Wait();

    // The same organizer on another device, as after a replug: COM1 follows.
    SimulatorProcess working(ORGALINK_CLI, {"--state", state, "--variant", c.variant});
    ASSERT_FALSE(working.Device().empty());
    PointCom1At(settings, backupDir, working.Device());
    const auto recovered = RunAsPrinted(ORGALINK_CLI, command);
    EXPECT_EQ(recovered.exit_code, 0) << command << "\n" << recovered.err;
    working.Program().Signal(SIGTERM);
    working.Program().Wait();
  }
  const auto same = RunProgram(ORGALINK_CLI, {"diff", before, state});
  EXPECT_EQ(same.exit_code, 0) << same.out;
}

INSTANTIATE_TEST_SUITE_P(
    FailedRestores, RecoveryCommand,
    testing::Values(RecoveryCase{"Everything", "M", "", "DATA"},
                    RecoveryCase{"OneApplication", "M", "Memo", "DATA"},
                    RecoveryCase{"ExpenseCategories", "M", "Expense Category", "DATA"},
                    RecoveryCase{"BackupDirWithASpace", "M", "", "my backups"},
                    RecoveryCase{"BaseModelLeftWithOneTelephoneRecord", "E", "", "DATA"}),
    [](const testing::TestParamInfo<RecoveryCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orgalink
