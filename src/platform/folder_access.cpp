// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"

namespace orgalink::platform {

std::optional<std::string> FolderWriteProblem(const std::string& folder) {
  const std::string path = folder.empty() ? "." : folder;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return ErrorText(errno);
  if (!S_ISDIR(status.st_mode)) return ErrorText(ENOTDIR);
  // Effective ids, as the open that creates the archive will use them.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return ErrorText(errno);
  return std::nullopt;
}

}  // namespace orgalink::platform
