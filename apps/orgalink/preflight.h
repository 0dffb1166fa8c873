// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "settings/run_mode.h"
#include "ui/settings_file.h"

namespace orgalink::cli {

// Checks made before a port is opened, so that a mistake costs no transfer.
// Each tells what is wrong on standard error and returns the exit status, or
// 0 when all is well.

// A settings file named with --settings must be there, unless the command is
// about to write it on purpose (`mayCreate`, as detect --save): a typing
// error would otherwise start a fresh file of defaults. "" names none.
int CheckNamedSettingsFile(const std::string& path, bool mayCreate);

// The settings file as read must be usable for a communication: readable,
// and every value one the program can take (ui::SettingsFile::Problems).
// Each problem is told with the file and the key; call it right after
// LoadSettings, before anything is printed or opened.
int CheckSettingsValues(const ui::SettingsFile& file);

// code.dat and sort.dat in `directory` (ending in '/'), without which the
// records would pass unconverted.
int CheckCharacterTables(const std::string& directory);

// The same for the folder a --data-dir option names ("" for the program's
// data folder).
int CheckCharacterTablesIn(const std::string& dataDir);

// RunMode `number` exists, and a RunMode that works on an archive (1 to 8)
// is given one; RunModes 2, 4, 6 and 8 would otherwise empty the organizer
// and send nothing, and the backups would receive into nowhere.
int CheckRunMode(int number, const std::string& archive);

// The folder of the archive a backup RunMode is to write exists and takes
// new files; other RunModes and an unnamed archive pass.
int CheckArchiveFolder(settings::RunMode runMode, const std::string& archive);

}  // namespace orgalink::cli
