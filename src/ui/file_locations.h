// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::ui {

// What decides where the program's writable files live.
struct UserEnvironment {
  std::string programDirectory;  // the program's folder with its trailing '/', "" if unknown
  std::string home;              // $HOME
  std::string xdgConfigHome;     // $XDG_CONFIG_HOME
  std::string xdgDataHome;       // $XDG_DATA_HOME
  std::string xdgStateHome{};    // $XDG_STATE_HOME
};

// The environment of this process.
UserEnvironment CurrentUserEnvironment();

struct FileLocations {
  std::string settingsFile;  // the settings file read at start and written at exit
  std::string logDirectory;  // with its trailing '/': where a LogFileName without a folder goes
  std::string backupDir;     // the BackupDir used while the settings file names none
};

// One rule for every front end. An "Orgalink.ini" beside the program makes a
// portable copy: settings, log and "DATA" all sit beside the program. Any
// other copy keeps the settings file in ${XDG_CONFIG_HOME:-$HOME/.config}/orgalink/,
// the log in ${XDG_STATE_HOME:-$HOME/.local/state}/orgalink/ and its backups
// in ${XDG_DATA_HOME:-$HOME/.local/share}/orgalink/DATA; where a variable
// gives no absolute folder and there is no home, the log goes beside the
// settings file and the rest beside the program again. A non-empty
// `settingsOverride` names the settings file instead, and a log without a
// folder then goes beside it.
FileLocations LocateFiles(const UserEnvironment& environment,
                          const std::string& settingsOverride = {});

}  // namespace orgalink::ui
