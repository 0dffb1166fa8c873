// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_path.h"

#include "platform/file_system.h"
#include "ui/archive_names.h"

namespace orgalink::cli {

std::string ExistingArchivePath(const std::string& path) {
  if (path.empty() || platform::FileExists(path)) return path;
  std::string withExtension = path;
  ui::EnsureBackupExtension(withExtension);
  if (withExtension != path && platform::FileExists(withExtension)) return withExtension;
  return path;
}

CLI::Validator ArchivePathTransform() {
  return CLI::Validator(
      [](std::string& path) {
        path = ExistingArchivePath(path);
        return std::string();
      },
      "", "archive path");
}

}  // namespace orgalink::cli
