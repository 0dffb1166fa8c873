#pragma once

#include <string>

#include "console.h"
#include "engine_options.h"
#include "settings_file.h"

namespace orgalink::cli {

// One communication as a command asks for it.
struct CommunicationRequest {
  int runMode = 0;  // anything beyond 0..255 is an unknown RunMode
  std::string fileName;
  // Folder of the dump files; empty for the settings file's folder.
  std::string dumpDirectory;
  // Print the instructions of the backup and restore flows first.
  bool showInstructions = false;
};

struct CommunicationResult {
  bool succeeded = false;
  int exitCode = 0;
};

// Runs one communication with the settings file's values under the command
// line's overrides, shows its progress and messages on the console, and
// reports a failure with its cause.
CommunicationResult Communicate(const EngineOptions& options, const SettingsFile& file,
                                const CommunicationRequest& request, const Console& console);

// Prints the power-cycle instructions and the progress dialog's
// "Instructions" group on standard error.
void PrintInstructions();

}  // namespace orgalink::cli
