#include "settings_file.h"

#include "platform/program_directory.h"

namespace orgalink::cli {

SettingsFile LoadSettings(const EngineOptions& options) {
  if (!options.dataDir.empty()) platform::SetDataDirectory(options.dataDir);
  SettingsFile file;
  file.where = ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile);
  file.settings = ui::ReadSettings(file.where);
  return file;
}

void SaveSettings(const SettingsFile& file) {
  ui::WriteSettings(file.where.settingsFile, file.settings);
}

}  // namespace orgalink::cli
