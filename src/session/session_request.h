// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "operations/merge_restore.h"
#include "settings/run_mode.h"
#include "store/record_comparison.h"

namespace orgalink::session {

// What the user asked of one communication, as it travels with the run: the
// session lays it over the settings, and a failed restore builds from it the
// command that undoes it.
struct SessionRequest {
  settings::RunMode runMode = settings::RunMode::Negotiate;
  // AppliMode: "ALL", or the one application the run addresses.
  std::string application = "ALL";
  // The archive of a backup or restore.
  std::string archive;
  // The archive's name was chosen for the user (today's dated name): it
  // never replaces a file and moves on to the next numbered name.
  bool numberedArchive = false;
  // A restore the user started keeps the organizer's contents in a safety
  // archive in BackupDir first, unless the settings say SafetyBackup=0.
  bool safetyBackup = false;
  // Read the organizer back into memory only, and compare it with this
  // archive's records: a verification. No archive is written.
  std::optional<store::ArchiveRecords> verifyAgainst;
  // With a restore (RunMode 2): read the organizer first and merge these
  // records into it, or only tell what the restore would do (a dry run);
  // `archive` is then not read. Its plan is left empty; the outcome gets it.
  std::optional<operations::PlannedRestore> planned;
  // Folder of the dump files of RunModes 13 to 18; empty for the current one.
  std::string dumpDirectory;
  // Where the character tables are; empty for the program's data folder.
  std::string dataDirectory;

  // The command-line flags that located the port, the settings file and the
  // tables, as given, so that a printed command finds them again.
  std::optional<std::string> portFlag;
  std::optional<std::string> settingsFlag;
  std::optional<std::string> dataDirFlag;
};

}  // namespace orgalink::session
