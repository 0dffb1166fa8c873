#include "ui/dated_backup_name.h"

#include <filesystem>

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
  for (int suffix = 2; Taken(path); ++suffix) {
    path = JoinPath(folder, date + "-" + std::to_string(suffix) + kExtension);
  }
  return path;
}

}  // namespace orgalink::ui
