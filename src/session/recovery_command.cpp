#include "session/recovery_command.h"

#include "ui/shell_word.h"

namespace orgalink::session {

namespace {

void AddOption(std::string& command, const char* name, const std::optional<std::string>& value) {
  if (value) command += std::string(" ") + name + " " + ui::ShellWord(*value);
}

}  // namespace

std::string RecoveryCommand(const SessionRequest& request, const std::string& safetyArchive) {
  std::string command = "orgalink restore --yes";
  // The safety archive holds just the application that was being restored;
  // restoring it as ALL would empty every other one.
  if (request.application != "ALL") command += " --app " + ui::ShellWord(request.application);
  AddOption(command, "--port", request.portFlag);
  AddOption(command, "--settings", request.settingsFlag);
  AddOption(command, "--data-dir", request.dataDirFlag);
  // A name starting with '-' would read as an option.
  const std::string archive =
      !safetyArchive.empty() && safetyArchive.front() == '-' ? "./" + safetyArchive : safetyArchive;
  return command + " " + ui::ShellWord(archive);
}

}  // namespace orgalink::session
