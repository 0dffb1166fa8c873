// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/file_locations.h"

namespace orgalink::gui {

// Where the program finds and keeps its files.
struct GuiPaths {
  ui::FileLocations files;       // settings file, log folder, default BackupDir
  std::string programDirectory;  // with its trailing '/'
  std::string dataDirectory;     // code.dat and sort.dat, with its trailing '/'
};

}  // namespace orgalink::gui
