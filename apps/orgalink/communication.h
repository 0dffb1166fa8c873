// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "console.h"
#include "engine_options.h"
#include "interruptible.h"
#include "operations/merge_restore.h"
#include "platform/serial_port.h"
#include "session/session_outcome.h"
#include "settings/run_mode.h"
#include "settings/run_settings.h"
#include "store/record_comparison.h"

namespace orgalink::cli {

// One communication as a command asks for it.
struct CommunicationRequest {
  settings::RunMode runMode = settings::RunMode::Negotiate;
  std::string fileName;
  // Folder of the dump files; empty for the settings file's folder.
  std::string dumpDirectory;
  // Print the instructions of the backup and restore flows first.
  bool showInstructions = false;
  // fileName is a proposal that never replaces a file (a backup's dated
  // name).
  bool numberedArchive = false;
  // A restore the user started: it takes a safety copy into BackupDir first,
  // unless SafetyBackup=0 says otherwise.
  bool safetyBackup = false;
  // A backup that only reads the organizer back into memory and compares it
  // with these records; no archive is written.
  std::optional<store::ArchiveRecords> verifyAgainst{};
  // Lends a port the command already holds open (watch keeps its port
  // between communications); empty to open the one the options name.
  platform::PortOpener portOpener{};
  // A restore that merges these records, or only tells what it would do.
  std::optional<operations::PlannedRestore> planned{};
};

struct CommunicationResult {
  bool succeeded = false;
  int exitCode = 0;
  // What the run left to tell; empty when it never started.
  session::SessionOutcome outcome;
  // Whether a communication began (false when a check refused it first).
  bool ran = false;
};

// Reads the settings file, runs one communication with its values under
// the command line's overrides, shows the progress and messages on the
// console, reports a failure with its cause, and writes back what a first
// run must leave in the settings file (a failure to do so is reported and
// gives exit 74, as for detect --save). `settle`, when given, completes
// the request once the settings are known (a backup's default archive lies
// in BackupDir). `stop` is the program's signal watcher.
CommunicationResult Communicate(
    const EngineOptions& options, CommunicationRequest request, const Console& console,
    Interruptible& stop,
    const std::function<void(CommunicationRequest&, const settings::RunSettings&)>& settle = {});

// Prints the power-cycle instructions and the progress dialog's
// "Instructions" group on standard error.
void PrintInstructions();

}  // namespace orgalink::cli
