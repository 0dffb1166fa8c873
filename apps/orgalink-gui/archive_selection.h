// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/clock.h"
#include "user_prompts.h"

namespace orgalink::gui {

// Asks for the archive a backup writes: the dialog opens in `backupDir` and
// proposes today's dated name, or the next numbered one when an archive of
// that name is there, so that taking the proposal never replaces a backup.
// True once the user chose a file: `path` then holds the chosen path with
// its ".bkf" ensured and `backupDir` that path's folder; false when
// cancelled, with both as they were. `proposalTaken`, when given, tells
// whether the user kept the proposed name.
bool SelectBackupFileToSave(UserPrompts& prompts, QWidget* parent, platform::Clock& clock,
                            std::string& backupDir, std::string& path,
                            bool* proposalTaken = nullptr);

// Asks for an existing archive to restore, in the same way.
bool SelectBackupFileToOpen(UserPrompts& prompts, QWidget* parent, std::string& backupDir,
                            std::string& path);

}  // namespace orgalink::gui
