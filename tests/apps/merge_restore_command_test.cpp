// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink restore --merge and --dry-run against the simulator on a
// pseudo-terminal: what the organizer holds afterwards, what a dry run
// leaves alone, and the command that undoes a merge cut off part-way.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The organizer's contents before the merge: the sample less its first
// Telephone record ("Adams, Anna") and its long memos, so that every record
// is one packet and the packets of a transfer can be counted. Returns how
// many packets its backup takes.
int WriteOrganizerBefore(const testsupport::TempDir& dir, const std::string& path) {
  const std::string json = dir.File("sample.json");
  EXPECT_EQ(RunProgram(ORGALINK_CLI, {"export", kSample, "-o", json}).exit_code, 0);
  nlohmann::json contents = nlohmann::json::parse(testsupport::ReadFile(json));
  int packets = 0;
  for (auto& section : contents["sections"]) {
    auto& records = section["records"];
    if (section["application"] == "Telephone") records.erase(records.begin());
    if (section["application"] == "Memo") {
      nlohmann::json shortOnes = nlohmann::json::array();
      for (const auto& record : records) {
        if (record.dump().size() < 200) shortOnes.push_back(record);
      }
      records = shortOnes;
    }
    packets += static_cast<int>(records.size());
  }
  std::ofstream(dir.File("before.json")) << contents.dump();
  EXPECT_EQ(
      RunProgram(ORGALINK_CLI, {"import", dir.File("before.json"), "-o", path, "--scramble", "0"})
          .exit_code,
      0);
  return packets;
}

class MergeCommand : public testing::Test {
 protected:
  MergeCommand() {
    packets = WriteOrganizerBefore(dir, before);
    std::filesystem::copy_file(before, state);
  }

  void PointCom1At(const std::string& device) {
    std::ofstream(settings) << "[Path]\nBackupDir=" << dir.File("DATA")
                            << "\n[Settings]\nCOMPort=1\n[Ports]\nCOM1=" << device << "\n";
  }

  testsupport::ProgramResult Orgalink(std::vector<std::string> args) {
    args.insert(args.end(), {"--settings", settings, "--log", dir.File("log.txt")});
    return RunProgram(ORGALINK_CLI, args);
  }

  // Whether the last communication's log shows a command the PC wrote.
  bool Sent(const char* codeHex) {
    return testsupport::ReadFile(dir.File("log.txt"))
               .find(std::string(">>>>>>Send    [ 7f ") + codeHex) != std::string::npos;
  }

  testsupport::TempDir dir;
  const std::string state = dir.File("organizer.bkf");
  const std::string before = dir.File("before.bkf");
  const std::string settings = dir.File("Orgalink.ini");
  int packets = 0;
};

TEST_F(MergeCommand, DryRunsChangeNothingAndAMatchAddsOnlyWhatItMatches) {
  SimulatorProcess simulator(ORGALINK_CLI, {"--state", state});
  ASSERT_FALSE(simulator.Device().empty());
  PointCom1At(simulator.Device());

  struct DryRun {
    std::vector<std::string> args;
    int exit;
    const char* line;
  };
  const DryRun dryRuns[] = {
      {{"--merge", kSample}, 0, "Telephone: would delete 23 records and send 24: 23 kept, 1 added"},
      {{kSample},
       0,
       "Telephone: would delete 23 records and send 24 from the archive: 1 the "
       "organizer lacks, 0 of its own lost"},
      {{"--merge", before}, 1, "Nothing would change."},
  };
  for (const DryRun& run : dryRuns) {
    std::vector<std::string> args{"restore", "--dry-run", "-q"};
    args.insert(args.end(), run.args.begin(), run.args.end());
    const auto result = Orgalink(args);
    EXPECT_EQ(result.exit_code, run.exit) << result.err;
    EXPECT_NE(result.out.find(run.line), std::string::npos) << result.out;
    EXPECT_FALSE(Sent("0b")) << "DELETE_ALL_RECORDS";
    EXPECT_FALSE(Sent("0a")) << "SEND_1_RECORD";
  }
  EXPECT_EQ(RunProgram(ORGALINK_CLI, {"diff", before, state}).exit_code, 0);

  // For a script, the same plan as one object.
  const auto planned = Orgalink({"restore", "--dry-run", "--merge", "--json", kSample});
  EXPECT_EQ(planned.exit_code, 0) << planned.err;
  const auto plan = nlohmann::json::parse(planned.out, nullptr, false)["plan"];
  ASSERT_TRUE(plan.is_object()) << planned.out;
  EXPECT_TRUE(plan["merge"].get<bool>());
  EXPECT_TRUE(plan["changes"].get<bool>());
  const auto telephone = plan["applications"][0];
  EXPECT_EQ(telephone["application"], "Telephone");
  EXPECT_EQ(telephone["held"], 23);
  EXPECT_EQ(telephone["added"], 1);
  EXPECT_EQ(telephone["after"], 24);
  EXPECT_EQ(telephone["rewritten"], true);

  // "ADAMS" matches the lost contact only, wherever its text has it; the
  // long memos the organizer lacks stay out. The read-back compares with
  // the merged set.
  const auto merged =
      Orgalink({"restore", "--merge", "--match", "ADAMS", "--yes", "-q", "--verify", kSample});
  EXPECT_EQ(merged.exit_code, 0) << merged.err;
  EXPECT_NE(merged.out.find("Telephone: 23 kept, 1 added\n"), std::string::npos) << merged.out;
  EXPECT_NE(merged.out.find("Memo: 1 kept, nothing to add\n"), std::string::npos) << merged.out;
  const auto held = RunProgram(ORGALINK_CLI, {"inspect", state});
  EXPECT_NE(held.out.find("Telephone: 24 records"), std::string::npos) << held.out;
  EXPECT_NE(held.out.find("Memo: 1 record,"), std::string::npos) << held.out;
  simulator.Program().Signal(SIGTERM);
  simulator.Program().Wait();
}

TEST_F(MergeCommand, ALineCutMidMergeIsUndoneByThePrintedCommand) {
  {
    // The safety copy takes every packet; the merge then empties Telephone
    // and the line goes at its second record.
    SimulatorProcess failing(
        ORGALINK_CLI, {"--state", state, "--fault", "hangup:" + std::to_string(packets + 2)});
    ASSERT_FALSE(failing.Device().empty());
    PointCom1At(failing.Device());
    const auto failed = Orgalink({"restore", "--merge", "--yes", kSample});
    ASSERT_EQ(failed.exit_code, 11) << failed.err;
    const std::string lead = "To put them back: ";
    const auto start = failed.err.find(lead);
    ASSERT_NE(start, std::string::npos) << failed.err;
    const std::string command =
        failed.err.substr(start + lead.size(), failed.err.find('\n', start) - start - lead.size());
    EXPECT_NE(RunProgram(ORGALINK_CLI, {"diff", before, state}).exit_code, 0);
    failing.Program().Signal(SIGTERM);
    failing.Program().Wait();

    SimulatorProcess working(ORGALINK_CLI, {"--state", state});
    ASSERT_FALSE(working.Device().empty());
    PointCom1At(working.Device());
    const auto recovered = RunAsPrinted(ORGALINK_CLI, command);
    EXPECT_EQ(recovered.exit_code, 0) << command << "\n" << recovered.err;
    working.Program().Signal(SIGTERM);
    working.Program().Wait();
  }
  const auto same = RunProgram(ORGALINK_CLI, {"diff", before, state});
  EXPECT_EQ(same.exit_code, 0) << same.out;
}

}  // namespace
}  // namespace orgalink
