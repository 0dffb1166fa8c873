// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_selection.h"

#include <filesystem>

#include "ui/archive_names.h"
#include "ui/dated_backup_name.h"

namespace orgalink::gui {

bool SelectBackupFileToSave(UserPrompts& prompts, QWidget* parent, platform::Clock& clock,
                            std::string& backupDir, std::string& path, bool* proposalTaken) {
  const std::string proposed = ui::FreeDatedBackupPath(backupDir, clock);
  FileRequest request;
  request.folder = QString::fromStdString(backupDir);
  request.proposedName = QString::fromStdString(std::filesystem::path(proposed).filename());
  const QString chosen = prompts.AskSavePath(parent, request);
  if (chosen.isEmpty()) return false;
  path = chosen.toStdString();
  backupDir = ui::DirectoryOf(path);
  ui::EnsureBackupExtension(path);
  if (proposalTaken != nullptr) {
    *proposalTaken = std::filesystem::path(path).lexically_normal() ==
                     std::filesystem::path(proposed).lexically_normal();
  }
  return true;
}

bool SelectBackupFileToOpen(UserPrompts& prompts, QWidget* parent, std::string& backupDir,
                            std::string& path) {
  FileRequest request;
  request.folder = QString::fromStdString(backupDir);
  const QString chosen = prompts.AskOpenPath(parent, request);
  if (chosen.isEmpty()) return false;
  path = chosen.toStdString();
  backupDir = ui::DirectoryOf(path);
  return true;
}

}  // namespace orgalink::gui
