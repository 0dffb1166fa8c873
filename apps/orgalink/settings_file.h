#pragma once

#include "engine_options.h"
#include "ui/file_locations.h"
#include "ui/settings.h"

namespace orgalink::cli {

// The settings file as a command found it, read at its start and written
// back at its end, as the dialogs do at start and exit.
struct SettingsFile {
  ui::FileLocations where;
  ui::Settings settings;
};

// Locates and reads the settings file (--settings overrides the location)
// and points the table search at --data-dir when given.
SettingsFile LoadSettings(const EngineOptions& options);

// Writes the held settings back; options given for one run are not kept.
void SaveSettings(const SettingsFile& file);

}  // namespace orgalink::cli
