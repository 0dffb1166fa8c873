// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace orgalink::cli {

// Which backup folder history and prune look at.
struct BackupFolderOptions {
  std::string settingsFile;
  std::string backupDir;
};

// --settings FILE and --backup-dir DIR.
void AddBackupFolderOptions(CLI::App& command, BackupFolderOptions& options);

// --backup-dir when given, else BackupDir of the settings file.
std::string BackupFolder(const BackupFolderOptions& options);

}  // namespace orgalink::cli
