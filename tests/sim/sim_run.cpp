// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_run.h"

#include <gtest/gtest.h>

#include "sim/state_file.h"

namespace orgalink::simtest {

std::string DataDirectory() {
  return ORGALINK_SOURCE_DIR "/data/";
}

sim::OrganizerContents Sample() {
  sim::OrganizerContents contents;
  std::string error;
  EXPECT_TRUE(sim::LoadOrganizerFile(DataDirectory() + "sample_organizer.bkf",
                                     sim::TelephoneSort::FromDirectory(DataDirectory()), contents,
                                     error))
      << error;
  return contents;
}

store::CharTables Tables() {
  store::CharTables tables;
  store::LoadCodeTables(DataDirectory(), tables.outgoing, tables.incoming);
  store::LoadSortTables(DataDirectory(), tables.weights, tables.second);
  return tables;
}

sim::SimOptions TestOptions(const std::string& state_file) {
  sim::SimOptions options;
  options.table_directory = DataDirectory();
  options.state_file = state_file;
  return options;
}

SimRun::SimRun(sim::SimOptions options, platform::VirtualLine::Options line) : f(line) {
  tables = Tables();
  check = {&tables.weights, &tables.incoming};
  f.engine.Link().SetEchoBack(options.echo);
  if (options.state_file.empty()) options.state_file = f.dir.File("organizer.bkf");
  if (options.table_directory.empty()) options.table_directory = DataDirectory();
  state_file = options.state_file;
  std::string error;
  organizer = sim::SimOrganizer::Create(options, f.clock, error);
  organizer_port = f.line.Open(platform::VirtualLine::End::B);
  if (!organizer || !organizer_port) {
    ADD_FAILURE() << "no organizer: " << error;
    return;
  }
  organizer->Attach(*organizer_port, [this] { f.line.HangUp(); });
  organizer->Start();
}

SimRun::SimRun(const sim::SimFaults& faults)
    : SimRun([&faults] {
        sim::SimOptions options;
        options.faults = faults;
        return options;
      }()) {}

SimRun::~SimRun() {
  if (organizer) organizer->Stop();
}

link::StepResult SimRun::RunPc(const std::function<link::StepResult()>& pc,
                               std::uint32_t* elapsed) {
  return f.RunOpen(
      [&] {
        organizer->PressPcLink();
        return pc();
      },
      {}, elapsed);
}

link::StepResult SimRun::Backup(Applis& fetched, std::uint32_t* elapsed) {
  return RunPc([&] { return PcBackup(f.engine, &f.owner, check, fetched); }, elapsed);
}

link::StepResult SimRun::Restore(const Applis& applis) {
  return RunPc([&] { return PcRestore(f.engine, &f.owner, applis); });
}

}  // namespace orgalink::simtest
