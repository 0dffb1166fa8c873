// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine_options.h"
#include "ui/settings_file.h"

namespace orgalink::cli {

// EX_IOERR: the run itself went well, but what it was to keep could not be
// written.
inline constexpr int kExitSettingsNotSaved = 74;

// Locates and reads the settings file (--settings overrides the location)
// and points the table search at --data-dir when given.
ui::SettingsFile LoadSettings(const EngineOptions& options);

// Writes back what the command changed in `settings` (a first run writes
// every default); options given for one run are not kept. A failure is
// told on standard error; false then.
bool SaveSettings(ui::SettingsFile& file, const settings::RunSettings& settings);

}  // namespace orgalink::cli
