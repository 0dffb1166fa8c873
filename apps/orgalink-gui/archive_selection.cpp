#include "archive_selection.h"

#include "ui/archive_names.h"
#include "ui/dated_backup_name.h"

namespace orgalink::gui {

bool SelectBackupFileToSave(UserPrompts& prompts, QWidget* parent, platform::Clock& clock,
                            std::string& backupDir, std::string& path) {
  FileRequest request;
  request.folder = QString::fromStdString(backupDir);
  request.proposedName = QString::fromStdString(ui::DatedBackupName(clock));
  const QString chosen = prompts.AskSavePath(parent, request);
  if (chosen.isEmpty()) return false;
  path = chosen.toStdString();
  backupDir = ui::DirectoryOf(path);
  ui::EnsureBackupExtension(path);
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
