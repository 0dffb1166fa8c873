// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/recovery_command.h"

#include <filesystem>

#include "ui/shell_word.h"

namespace orgalink::session {

namespace {

// A relative path is made absolute, so that the command works from any
// folder, not just the one the failed run started in.
std::string Absolute(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

void AddPath(std::string& command, const char* name, const std::optional<std::string>& value) {
  if (value) command += std::string(" ") + name + " " + ui::ShellWord(Absolute(*value));
}

}  // namespace

std::string RecoveryCommand(const SessionRequest& request, const std::string& safetyArchive) {
  std::string command = "orgalink restore --yes";
  // The safety archive holds just the application that was being restored;
  // restoring it as ALL would empty every other one.
  if (request.application != "ALL") command += " --app " + ui::ShellWord(request.application);
  // A port is a device path, a COM port or a name such as "sim": as given.
  if (request.portFlag) command += " --port " + ui::ShellWord(*request.portFlag);
  AddPath(command, "--settings", request.settingsFlag);
  AddPath(command, "--data-dir", request.dataDirFlag);
  // Absolute, the name can never read as an option either.
  return command + " " + ui::ShellWord(Absolute(safetyArchive));
}

}  // namespace orgalink::session
