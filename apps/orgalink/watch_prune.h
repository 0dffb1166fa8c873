// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine_options.h"

namespace orgalink::cli {

// After each backup that watch makes: thins out the dated archives in
// `backupDir` by the [Prune] section of the settings file (the file that
// `options` locate), read anew each time, printing what it removes. A
// section with a wrong value removes nothing and says why on standard
// error; the watch goes on either way.
void ApplyWatchPrunePolicy(const EngineOptions& options, const std::string& backupDir);

}  // namespace orgalink::cli
