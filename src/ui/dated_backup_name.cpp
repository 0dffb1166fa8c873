// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dated_backup_name.h"

#include <filesystem>

#include "store/numbered_name.h"
#include "ui/archive_names.h"

namespace orgalink::ui {

namespace {

constexpr const char* kExtension = ".bkf";

// A dangling link or a folder of that name counts as taken as well. A folder
// that cannot be searched reports nothing, and the write that follows names
// the real problem.
bool Taken(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

std::string DatedBackupName(platform::Clock& clock) {
  return clock.LocalTime("%Y%m%d") + kExtension;
}

std::string FreeDatedBackupPath(const std::string& folder, platform::Clock& clock) {
  const std::string date = clock.LocalTime("%Y%m%d");
  std::string path = JoinPath(folder, date + kExtension);
  while (Taken(path)) path = store::NextNumberedName(path);
  return path;
}

}  // namespace orgalink::ui
