// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/file_contents.h"
#include "platform/file_system.h"
#include "platform/unique_fd.h"
#include "platform/write_all.h"

namespace orgalink::platform {

namespace {

// As many links as the kernel follows in one path before it gives ELOOP.
constexpr int kMostLinks = 40;

bool ReadLink(const std::string& path, std::string& target) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t size = readlink(path.c_str(), buffer.data(), buffer.size());
    if (size < 0) return false;
    if (static_cast<std::size_t>(size) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(size));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

bool ResolveOutput(const std::string& path, OutputTarget& target, int* error_number) {
  auto fail = [error_number](int error) {
    if (error_number != nullptr) *error_number = error;
    return false;
  };
  std::string current = path;
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat status {};
    if (lstat(current.c_str(), &status) != 0) {
      if (errno != ENOENT) return fail(errno);
      target = OutputTarget{current, false};
      return true;
    }
    if (S_ISDIR(status.st_mode)) return fail(EISDIR);
    if (!S_ISLNK(status.st_mode)) {
      target = OutputTarget{current, !S_ISREG(status.st_mode)};
      return true;
    }
    std::string link;
    if (!ReadLink(current, link)) return fail(errno);
    // A relative link is relative to the folder that holds it.
    current = !link.empty() && link[0] == '/' ? link : DirectoryOf(current) + link;
  }
  return fail(ELOOP);
}

int WriteInPlace(const std::string& path, std::string_view bytes) {
  // No O_CREAT: only a special file that exists is written in place, and no
  // O_TRUNC, which means nothing to one. Opening a FIFO waits for its reader.
  UniqueFd fd;
  do {
    fd = UniqueFd(open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  } while (!fd.Valid() && errno == EINTR);
  if (!fd.Valid()) return errno;
  if (const int error = WriteAll(fd.Get(), bytes)) return error;
  // A device may report a failed write only when it is closed.
  return close(fd.Release()) == 0 ? 0 : errno;
}

int WriteOutputFile(const std::string& path, std::string_view bytes) {
  OutputTarget target;
  int error = 0;
  if (!ResolveOutput(path, target, &error)) return error;
  // A device is never renamed over: that would put a regular file in place
  // of /dev/null (or of /dev/full, run as root), and a FIFO's reader would
  // never see the bytes. Such a file is written as it stands, as a shell's
  // redirection does.
  if (target.in_place) return WriteInPlace(target.path, bytes);
  // The file's own permission decides, not its folder's: a write-protected
  // file is not replaced behind its owner's back.
  if (!CheckWritable(target.path, &error)) return error;
  return ReplaceFileContents(target.path, std::string(bytes));
}

}  // namespace orgalink::platform
