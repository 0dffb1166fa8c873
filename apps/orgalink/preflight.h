#pragma once

#include <string>

#include "settings/run_mode.h"

namespace orgalink::cli {

// Checks made before a port is opened, so that a mistake costs no transfer.
// Each tells what is wrong on standard error and returns the exit status, or
// 0 when all is well.

// A settings file named with --settings must be there, unless the command is
// about to write it on purpose (`mayCreate`, as detect --save): a typing
// error would otherwise start a fresh file of defaults. "" names none.
int CheckNamedSettingsFile(const std::string& path, bool mayCreate);

// code.dat and sort.dat in `directory` (ending in '/'), without which the
// records would pass unconverted.
int CheckCharacterTables(const std::string& directory);

// The same for the folder a --data-dir option names ("" for the program's
// data folder).
int CheckCharacterTablesIn(const std::string& dataDir);

// The folder of the archive a backup RunMode is to write exists and takes
// new files; other RunModes and an unnamed archive pass.
int CheckArchiveFolder(settings::RunMode runMode, const std::string& archive);

}  // namespace orgalink::cli
