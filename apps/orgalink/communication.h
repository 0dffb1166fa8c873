#pragma once

#include <functional>
#include <string>

#include "console.h"
#include "engine_options.h"
#include "operations/read_back_check.h"
#include "operations/run_context.h"
#include "settings/run_mode.h"
#include "settings/run_settings.h"

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
  // name); see RunContext::numberedArchive.
  bool numberedArchive = false;
  // A restore the user started: it takes a safety copy into BackupDir first,
  // unless SafetyBackup=0 says otherwise.
  bool safetyBackup = false;
  // A backup that only reads the organizer back into memory: every
  // application's stream as received goes here, and no archive is written.
  operations::ReceivedStreams* readBack = nullptr;
};

struct CommunicationResult {
  bool succeeded = false;
  int exitCode = 0;
  // The archive as written, which a numbered one may have moved on from.
  std::string fileName;
  // What became of a restore's safety copy.
  operations::RestoreSafety safety{};
  // The application the run addressed (AppliMode), 255 for all.
  int appliKind = 255;
};

// Reads the settings file, runs one communication with its values under
// the command line's overrides, shows the progress and messages on the
// console, reports a failure with its cause, and writes back what a first
// run must leave in the settings file. `settle`, when given, completes the
// request once the settings are known (a backup's default archive lies in
// BackupDir).
CommunicationResult Communicate(
    const EngineOptions& options, CommunicationRequest request, const Console& console,
    const std::function<void(CommunicationRequest&, const settings::RunSettings&)>& settle = {});

// Prints the power-cycle instructions and the progress dialog's
// "Instructions" group on standard error.
void PrintInstructions();

}  // namespace orgalink::cli
