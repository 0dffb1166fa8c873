// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "abort_request.h"
#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "sim/in_process_organizer.h"
#include "support/file_bytes.h"
#include "support/line_fixture.h"

namespace orgalink::faulttest {

namespace {

const std::string kDataDirectory = ORGALINK_SOURCE_DIR "/data/";

store::CharTables Tables() {
  store::CharTables tables;
  store::LoadCodeTables(kDataDirectory, tables.outgoing, tables.incoming);
  store::LoadSortTables(kDataDirectory, tables.weights, tables.second);
  return tables;
}

int OpenDescriptors() {
  const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

sim::SimOptions Options(const FaultSetup& setup) {
  sim::SimOptions options;
  options.table_directory = kDataDirectory;
  options.faults = setup.faults;
  options.device_code_high = setup.device_code_high;
  return options;
}

settings::RunSettings Settings(const FaultSetup& setup, const testsupport::TempDir& folder,
                               const store::CharTables& tables) {
  settings::RunSettings settings;
  settings.runMode =
      setup.operation == Operation::Backup ? settings::RunMode::Backup : settings::RunMode::Restore;
  settings.fileName = folder.File(kArchiveName);
  settings.logFileName = folder.File("comm.log");
  settings.toCommand = kCommandTimeoutMs;
  settings.toDataPacket = kDataTimeoutMs;
  settings.sortTable = &tables.weights;
  settings.codeTable = &tables.incoming;
  return settings;
}

// What the organizer and the user's folder show after the run.
void Collect(const testsupport::LineFixture& f, sim::InProcessOrganizer& cable,
             FaultOutcome& outcome) {
  outcome.archive = testsupport::FileBytes(f.dir.File(kArchiveName));
  outcome.files = FileNames(f.dir.path());
  const sim::SimStats stats = cable.Organizer().Stats();
  outcome.sessions = stats.sessions;
  outcome.heard = stats.commands;
  outcome.pc_bytes = cable.Line().BytesWritten(platform::VirtualLine::End::A);
}

FaultOutcome RunInScope(const FaultSetup& setup) {
  FaultOutcome outcome;
  testsupport::LineFixture f;
  if (!setup.archive.empty()) testsupport::WriteBytes(f.dir.File(kArchiveName), setup.archive);
  std::string error;
  const auto cable = sim::InProcessOrganizer::Create(Options(setup), kBaud, error, f.clock);
  if (!cable) {
    ADD_FAILURE() << "no organizer: " << error;
    return outcome;
  }
  f.engine.Link().SetPortOpener(cable->Opener());
  const store::CharTables tables = Tables();
  const settings::RunSettings settings = Settings(setup, f.dir, tables);
  operations::ConfigureRun(f.run, f.store, settings);
  WatchingOwner owner;
  const AbortRequest abort(setup.abort, setup.abort_byte, f, owner, cable->Line());

  std::optional<platform::ScopedWriteFault> full_disk;
  if (setup.disk_full) full_disk.emplace(kDiskRoom, ENOSPC);
  f.Run([&] {
    outcome.elapsed_ms = f.Elapsed([&] {
      outcome.status = operations::RunCommunication(f.run, owner.Front(), settings.runMode);
    });
    if (abort.at()) outcome.abort_to_end_ms = f.clock.Now() - *abort.at();
  });
  full_disk.reset();
  cable->Organizer().WaitUntilIdle();

  outcome.log = testsupport::ReadFile(settings.logFileName);
  outcome.shown = owner.shown();
  Collect(f, *cable, outcome);
  return outcome;
}

}  // namespace

FaultOutcome RunWithFault(const FaultSetup& setup) {
  const int before = OpenDescriptors();
  FaultOutcome outcome = RunInScope(setup);
  outcome.descriptors_left = OpenDescriptors() - before;
  return outcome;
}

Bytes SampleArchive() {
  return testsupport::FileBytes(kDataDirectory + "sample_organizer.bkf");
}

}  // namespace orgalink::faulttest
