// SPDX-License-Identifier: GPL-3.0-or-later
#include "watch_prune.h"

#include <iostream>

#include "ui/file_locations.h"
#include "ui/prune_settings.h"

namespace orgalink::cli {

void ApplyWatchPrunePolicy(const EngineOptions& options, const std::string& backupDir) {
  const ui::FileLocations files =
      ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile);
  ui::ApplyPrunePolicyFromSettings(files.settingsFile, backupDir, std::cout, std::cerr);
  std::cout.flush();
}

}  // namespace orgalink::cli
