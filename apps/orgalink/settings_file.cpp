#include "settings_file.h"

#include <cstdio>

#include "platform/private_folders.h"
#include "platform/program_directory.h"

namespace orgalink::cli {

ui::SettingsFile LoadSettings(const EngineOptions& options) {
  if (!options.dataDir.empty()) platform::SetDataDirectory(options.dataDir);
  ui::SettingsFile file(ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile));
  // A log named without a folder goes to the state folder, which nothing
  // else makes; one that cannot be made shows as a log that is not written.
  const std::string& logFolder = file.Where().logDirectory;
  if (!logFolder.empty() && file.Values().logFileName.rfind(logFolder, 0) == 0) {
    platform::MakePrivateFolders(logFolder);
  }
  return file;
}

bool SaveSettings(ui::SettingsFile& file, const settings::RunSettings& settings) {
  std::string problem;
  if (file.Save(settings, problem)) return true;
  std::fprintf(stderr, "orgalink: %s\n", ui::SettingsNotSavedText(file.Path(), problem).c_str());
  return false;
}

}  // namespace orgalink::cli
