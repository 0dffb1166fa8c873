// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file.h"

#include <cstdio>

#include "platform/program_directory.h"
#include "ui/settings.h"

namespace orgalink::cli {

ui::SettingsFile LoadSettings(const EngineOptions& options) {
  if (!options.dataDir.empty()) platform::SetDataDirectory(options.dataDir);
  ui::SettingsFile file(ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile));
  ui::CreateLogFolder(file.Where(), file.Values());
  return file;
}

bool SaveSettings(ui::SettingsFile& file, const settings::RunSettings& settings) {
  std::string problem;
  if (file.Save(settings, problem)) return true;
  std::fprintf(stderr, "orgalink: %s\n", ui::SettingsNotSavedText(file.Path(), problem).c_str());
  return false;
}

}  // namespace orgalink::cli
