// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup_folder_option.h"

#include "engine_options.h"
#include "settings_file.h"

namespace orgalink::cli {

void AddBackupFolderOptions(CLI::App& command, BackupFolderOptions& options) {
  command
      .add_option("--settings", options.settingsFile,
                  "Settings file whose BackupDir is meant (default: as for backup)")
      ->check(CLI::ExistingFile);
  command.add_option("--backup-dir", options.backupDir,
                     "The folder to look at instead of BackupDir");
}

std::string BackupFolder(const BackupFolderOptions& options) {
  if (!options.backupDir.empty()) return options.backupDir;
  EngineOptions engine;
  engine.settingsFile = options.settingsFile;
  return LoadSettings(engine).Values().backupDir;
}

}  // namespace orgalink::cli
