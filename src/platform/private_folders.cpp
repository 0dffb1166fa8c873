// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/private_folders.h"

#include <sys/stat.h>

#include <cerrno>

namespace orgalink::platform {

namespace {

bool IsFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

int MakePrivateFolders(const std::string& path) {
  if (path.empty() || IsFolder(path)) return 0;
  // Each prefix that ends before a '/' is a folder above; the path itself last.
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0) {
      const int error = errno;
      if (error != EEXIST) return error;
      // A file in the way: of the folder itself, or of one above it.
      if (!IsFolder(folder)) return end == std::string::npos ? EEXIST : ENOTDIR;
    }
    if (end == std::string::npos) return 0;
  }
}

}  // namespace orgalink::platform
