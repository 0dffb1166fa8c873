// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/required_files.h"

#include <fstream>

namespace orgalink::ui {

namespace {
bool CanRead(const std::string& path) {
  return std::ifstream(path, std::ios::binary).is_open();
}
}  // namespace

std::optional<std::string> FirstMissingRequiredFile(const std::vector<std::string>& folders) {
  for (const char* name : kRequiredFiles) {
    bool found = false;
    for (const std::string& folder : folders) {
      if (CanRead(folder + name)) {
        found = true;
        break;
      }
    }
    if (!found) return std::string(name);
  }
  return std::nullopt;
}

}  // namespace orgalink::ui
