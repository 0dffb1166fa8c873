// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/file_locations.h"

#include <cstdlib>
#include <optional>

#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "ui/archive_names.h"
#include "ui/settings.h"

namespace orgalink::ui {

namespace {

constexpr const char* kFolderName = "orgalink";
constexpr const char* kBackupFolderName = "DATA";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A base folder of the XDG convention: the variable when it holds an absolute
// path (a relative one is to be ignored), else the given folder under $HOME.
std::optional<std::string> BaseFolder(const std::string& variable, const std::string& home,
                                      const char* underHome) {
  if (!variable.empty() && variable.front() == '/') return variable;
  if (!home.empty() && home.front() == '/') return JoinPath(home, underHome);
  return std::nullopt;
}

}  // namespace

UserEnvironment CurrentUserEnvironment() {
  return UserEnvironment{platform::ProgramDirectory(), Variable("HOME"),
                         Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME"),
                         Variable("XDG_STATE_HOME")};
}

FileLocations LocateFiles(const UserEnvironment& env, const std::string& settingsOverride) {
  const std::string& program = env.programDirectory;
  const std::string besideProgram = program + kSettingsFileName;
  const bool portable = !program.empty() && platform::FileExists(besideProgram);

  FileLocations where{besideProgram, program, program + kBackupFolderName};
  if (!portable) {
    if (const auto config = BaseFolder(env.xdgConfigHome, env.home, ".config")) {
      where.logDirectory = JoinPath(*config, kFolderName) + '/';
      where.settingsFile = where.logDirectory + kSettingsFileName;
    }
    // A log is state the program leaves, not configuration.
    if (const auto state = BaseFolder(env.xdgStateHome, env.home, ".local/state")) {
      where.logDirectory = JoinPath(*state, kFolderName) + '/';
    }
    if (const auto data = BaseFolder(env.xdgDataHome, env.home, ".local/share")) {
      where.backupDir = JoinPath(JoinPath(*data, kFolderName), kBackupFolderName);
    }
  }
  if (!settingsOverride.empty()) {
    where.settingsFile = settingsOverride;
    where.logDirectory = platform::DirectoryOf(settingsOverride);
  }
  return where;
}

}  // namespace orgalink::ui
