#pragma once

#include <string>

#include "platform/clock.h"
#include "user_prompts.h"

namespace orgalink::gui {

// Asks for the archive a backup writes: the dialog opens in `backupDir` and
// proposes today's dated name. On kIdOk, `path` holds the chosen path with
// its ".bkf" ensured and `backupDir` that path's folder; on kIdCancel both
// are as they were.
int SelectBackupFileToSave(UserPrompts& prompts, QWidget* parent, platform::Clock& clock,
                           std::string& backupDir, std::string& path);

// Asks for an existing archive to restore, in the same way.
int SelectBackupFileToOpen(UserPrompts& prompts, QWidget* parent, std::string& backupDir,
                           std::string& path);

}  // namespace orgalink::gui
