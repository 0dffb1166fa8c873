// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "settings/run_settings.h"
#include "ui/file_locations.h"

namespace orgalink::ui {

// The settings file of one program run. It is read once, when the object is
// made. Save() writes back, in one atomic step, only the keys whose values
// differ from those the file was read or last saved with, merged into the
// file as it is at that moment, so that what another program (the dialogs,
// another command) has written meanwhile stays. Where there was no file, the
// first Save() writes every default as well, so that a first run leaves a
// complete file to edit.
class SettingsFile {
 public:
  explicit SettingsFile(FileLocations where);

  const FileLocations& Where() const { return where_; }
  const std::string& Path() const { return where_.settingsFile; }
  // The values as read, or as last saved.
  const settings::RunSettings& Values() const { return saved_; }
  // What was wrong with the file when it was read: a file that exists but
  // cannot be read (a folder, say), and each value SettingsValueProblems
  // refuses. Values() holds the lenient reading all the same, so that a
  // write back leaves what the user wrote as it stands.
  const std::vector<std::string>& Problems() const { return problems_; }

  // Makes the file's folder when it is missing. False when the file could
  // not be written, with the system's reason in `problem`; the file is then
  // as it was, and the next Save() tries the same keys again.
  bool Save(const settings::RunSettings& now, std::string& problem);

 private:
  FileLocations where_;
  settings::RunSettings saved_;
  bool firstRun_ = false;
  std::vector<std::string> problems_;
};

// The file's problems for the user, one line each naming the file, for
// example "the settings file /home/a/Orgalink.ini: TOCommand=-5 is not 1 to
// 3600 seconds"; empty when there are none. A front end shows it and starts
// no communication while it is not empty.
std::string SettingsProblemsText(const SettingsFile& file);

// What to tell the user when Save() failed.
std::string SettingsNotSavedText(const std::string& path, const std::string& problem);

}  // namespace orgalink::ui
