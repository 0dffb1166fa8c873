// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/ini_document.h"
#include "platform/profile.h"
#include "settings/run_settings.h"
#include "ui/file_locations.h"

namespace orgalink::ui {

inline constexpr const char* kSettingsFileName = "Orgalink.ini";

// The settings file "Orgalink.ini" (where it lies: LocateFiles), sections
// [Path], [Settings] and [Ports]: every key read from the parsed file with
// the private-profile rules, a missing key giving the default of
// RunSettings. Time-outs are stored in seconds and held in milliseconds. An
// empty BackupDir becomes `where.backupDir`; a LogFileName without a folder
// separator ('/' or '\\') is placed in `where.logDirectory`.
settings::RunSettings SettingsFromDocument(const platform::IniDocument& document,
                                           const FileLocations& where);

// What a write back puts into the file for `now`, when `before` holds the
// values the file was read or last written with: each key whose text
// differs. With `firstRun` (there was no file) also every key the program
// writes back in any case, each only where the file has none by then:
// BackupDir, COMPort, EchoBack, DeviceCode, the time-outs and
// BKTelRecordsMin, LogFileName when set, FileScramble when off, QuietWindow
// when not 10, SafetyBackup when off, VerifyRestore when on. [Ports] goes in only when changed.
std::vector<platform::ProfileChange> SettingsChanges(const settings::RunSettings& before,
                                                     const settings::RunSettings& now,
                                                     bool firstRun);

// Creates the backup folder the archive dialogs open in, with the folders
// above it, ignoring failures (it may exist, or lie where nobody may write).
void CreateBackupDir(const settings::RunSettings& settings);

// Creates the state folder of `where` when the log (`settings.logFileName`,
// already made absolute) lies in it: nothing else makes that folder, and a
// log that cannot be opened is only noted in passing. Failures are ignored
// as above.
void CreateLogFolder(const FileLocations& where, const settings::RunSettings& settings);

}  // namespace orgalink::ui
