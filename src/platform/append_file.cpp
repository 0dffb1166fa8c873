// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orgalink::platform {

void AppendFile::SetPath(std::string path) {
  fd_.Reset();
  path_ = std::move(path);
}

bool AppendFile::Append(const char* data, std::size_t size) {
  if (fd_.Valid() && !StillNamed()) fd_.Reset();
  if (!fd_.Valid()) {
    fd_ = UniqueFd(::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (!fd_.Valid()) return false;
  }
  while (size > 0) {
    const ssize_t written = ::write(fd_.Get(), data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      fd_.Reset();
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// A file no longer found under its name (removed, renamed, or replaced by
// another) would take every later entry out of sight.
bool AppendFile::StillNamed() const {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd_.Get(), &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace orgalink::platform
