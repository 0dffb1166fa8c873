// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A restore as the front ends start it, with its safety backup, run
// in-process against the simulated organizer on virtual time; and what it
// left behind.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "abort_request.h"
#include "link/link_status.h"
#include "operations/read_back_check.h"
#include "operations/run_context.h"
#include "sim/organizer_contents.h"
#include "sim/sim_options.h"
#include "ui/safe_restore_texts.h"

namespace orgalink::faulttest {

// Records of each application, by application number.
using RecordLists = std::array<std::vector<sim::Record>, sim::kApplications>;

struct SafeRestoreSetup {
  sim::SimOptions organizer{};  // its faults and variant
  sim::OrganizerContents before{};
  std::string archive;       // the archive to restore
  std::string safetyFolder;  // BackupDir; empty: no safety backup
  // Sees the PC's progress, with the request to abort at hand.
  std::function<void(const link::ProgressEvent&, platform::CancelToken&)> watch{};
  bool disk_full = false;
};

struct SafeRestoreOutcome {
  link::LinkStatus status{-1};
  operations::RestoreSafety safety;
  std::string log;
  sim::OrganizerContents after;
  std::vector<std::uint8_t> heard;  // commands of the organizer's last session
};

SafeRestoreOutcome RunSafeRestore(const SafeRestoreSetup& setup);

// The safety copy as the front ends tell of it.
ui::SafetyCopy Told(const operations::RestoreSafety& safety);

// What a verification reads back from an organizer holding `contents`: a
// backup into memory, in a communication of its own.
link::LinkStatus ReadBack(const sim::OrganizerContents& contents,
                          operations::ReceivedStreams& streams);

// The records of each section of an archive file, in the organizer's codes.
RecordLists RecordsOfArchive(const std::string& path);
RecordLists RecordsOf(const sim::OrganizerContents& contents);
// The committed sample organizer.
sim::OrganizerContents SampleContents();
// Writes an archive holding `memos` as its only section.
void WriteMemoArchive(const std::string& path, const std::vector<sim::Record>& memos);
// DataPackets the organizer sends to give all of `contents`.
int PacketsOf(const sim::OrganizerContents& contents);

}  // namespace orgalink::faulttest
