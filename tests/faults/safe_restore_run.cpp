// SPDX-License-Identifier: GPL-3.0-or-later
#include "safe_restore_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "session/session_outcome.h"
#include "sim/frames.h"
#include "sim/in_process_organizer.h"
#include "sim/state_file.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "support/file_bytes.h"
#include "support/line_fixture.h"
#include "ui/safe_restore_texts.h"

namespace orgalink::faulttest {

namespace {

const std::string kData = ORGALINK_SOURCE_DIR "/data/";

}  // namespace

SafeRestoreOutcome RunSafeRestore(const SafeRestoreSetup& setup) {
  SafeRestoreOutcome outcome;
  testsupport::LineFixture f;
  sim::SimOptions options = setup.organizer;
  options.table_directory = kData;
  const auto cable = sim::InProcessOrganizer::WithContents(options, setup.before, kBaud, f.clock);
  if (!cable) {
    ADD_FAILURE() << "no organizer";
    return outcome;
  }
  f.engine.Link().SetPortOpener(cable->Opener());
  store::CharTables tables;
  store::LoadCodeTables(kData, tables.outgoing, tables.incoming);
  store::LoadSortTables(kData, tables.weights, tables.second);
  settings::RunSettings settings;
  settings.runMode = settings::RunMode::Restore;
  settings.fileName = setup.archive;
  settings.logFileName = f.dir.File("comm.log");
  settings.toCommand = kCommandTimeoutMs;
  settings.toDataPacket = kDataTimeoutMs;
  settings.sortTable = &tables.weights;
  settings.codeTable = &tables.incoming;
  f.clock.SetLocalTime("20261210-134501");
  if (!setup.safetyFolder.empty()) {
    settings.safetyArchive = ui::SafetyArchivePath(setup.safetyFolder, f.clock);
  }
  // The committed tables, so that every byte survives the way through the store.
  store::AppliStore store(kData);
  operations::ConfigureRun(f.run, store, settings);
  WatchingOwner owner;
  if (setup.watch) {
    owner.Watch([&](const link::ProgressEvent& event) { setup.watch(event, f.abort); });
  }
  std::optional<platform::ScopedWriteFault> full_disk;
  if (setup.disk_full) full_disk.emplace(kDiskRoom, ENOSPC);
  f.Run([&] {
    outcome.status = operations::RunCommunication(f.run, owner.Front(), settings.runMode).status;
  });
  full_disk.reset();
  cable->Organizer().WaitUntilIdle();
  outcome.safety = f.run.safety;
  outcome.log = testsupport::ReadFile(settings.logFileName);
  outcome.after = cable->Organizer().Contents();
  outcome.heard = cable->Organizer().Stats().commands;
  return outcome;
}

ui::SafetyCopy Told(const operations::RestoreSafety& safety) {
  return session::SafetyCopyOf(safety);
}

link::LinkStatus ReadBack(const sim::OrganizerContents& contents,
                          operations::ReceivedStreams& streams) {
  testsupport::LineFixture f;
  sim::SimOptions options;
  options.table_directory = kData;
  const auto cable = sim::InProcessOrganizer::WithContents(options, contents, kBaud, f.clock);
  if (!cable) return link::LinkIoError;
  f.engine.Link().SetPortOpener(cable->Opener());
  store::AppliStore store(kData);
  store.GetAppliBuf(store::ArchiveSlots);
  settings::RunSettings settings;
  operations::ConfigureRun(f.run, store, settings);
  f.run.received = &streams;
  WatchingOwner owner;
  link::LinkStatus status = link::LinkIoError;
  f.Run([&] {
    status = operations::RunCommunication(f.run, owner.Front(), settings::RunMode::Backup).status;
  });
  return status;
}

RecordLists RecordsOfArchive(const std::string& path) {
  RecordLists lists;
  const std::vector<std::uint8_t> file = testsupport::FileBytes(path);
  store::ArchiveImage image;
  std::string problem;
  EXPECT_EQ(store::ParseArchive(file, nullptr, store::ArchiveSlots, image, &problem),
            store::StoreOk)
      << path << ": " << problem;
  for (const store::ArchiveSection& section : image.sections) {
    sim::Record record;
    auto& records = lists.at(section.application);
    for (std::size_t i = 0; i < section.length; ++i) {
      const std::uint8_t byte = image.body[section.offset + i];
      if (byte != 0xFF) {
        record.push_back(byte);
        continue;
      }
      records.push_back(record);
      record.clear();
    }
  }
  return lists;
}

RecordLists RecordsOf(const sim::OrganizerContents& contents) {
  RecordLists lists;
  for (std::uint8_t appli = 0; appli < sim::kApplications; ++appli) {
    lists[appli] = contents.Records(appli);
  }
  return lists;
}

sim::OrganizerContents SampleContents() {
  sim::OrganizerContents contents;
  std::string error;
  EXPECT_TRUE(sim::LoadOrganizerFile(kData + "sample_organizer.bkf",
                                     sim::TelephoneSort::FromDirectory(kData), contents, error))
      << error;
  return contents;
}

void WriteMemoArchive(const std::string& path, const std::vector<sim::Record>& memos) {
  std::vector<std::uint8_t> file = {'I', 'M',         '2', 'B',
                                    'K', '0',         2,   0,
                                    1,   store::Memo, 0,   static_cast<std::uint8_t>(memos.size())};
  for (const sim::Record& memo : memos) {
    file.insert(file.end(), memo.begin(), memo.end());
    file.push_back(0xFF);
  }
  testsupport::WriteBytes(path, file);
}

int PacketsOf(const sim::OrganizerContents& contents) {
  int packets = 0;
  for (std::uint8_t appli = 0; appli < sim::kApplications; ++appli) {
    for (const sim::Record& record : contents.Records(appli)) {
      packets += static_cast<int>(sim::CutRecord(record.size()).size());
    }
  }
  return packets;
}

}  // namespace orgalink::faulttest
