// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_contents.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/read_interrupt.h"
#include "platform/unique_fd.h"
#include "platform/write_all.h"

namespace orgalink::platform {

namespace {

// A temporary file that is removed again unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& beside) : path_(beside + ".XXXXXX") {
    fd_ = UniqueFd(mkostemp(path_.data(), O_CLOEXEC));
    if (!fd_.Valid()) error_ = errno;
  }
  ~TemporaryFile() {
    if (!committed_ && fd_.Valid()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Error() const { return error_; }
  int Fd() const { return fd_.Get(); }
  int Fail() {
    error_ = errno;
    return error_;
  }

  // Makes the written file the one at `path`; removes it when that fails.
  int CommitAs(const std::string& path) {
    committed_ = true;
    // The close can report a late write error, so it is not left to UniqueFd.
    if (fsync(fd_.Get()) != 0 || close(fd_.Release()) != 0 ||
        rename(path_.c_str(), path.c_str()) != 0) {
      const int error = errno;
      fd_.Reset();
      unlink(path_.c_str());
      return error;
    }
    return 0;
  }

 private:
  std::string path_;
  UniqueFd fd_;
  int error_ = 0;
  bool committed_ = false;
};

// The rename lives in the folder's entries; without this a power cut could
// bring back the old file, or none at all on a first run. Best effort: the
// new file is already in place, and some file systems cannot flush a folder.
void SyncFolderOf(const std::string& path) {
  const std::string folder = DirectoryOf(path);
  const UniqueFd fd(
      open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Valid()) fsync(fd.Get());
}

}  // namespace

ReadOutcome ReadFileContents(const std::string& path, std::string& text, int* error_number) {
  auto failed = [error_number](int error) {
    if (error_number != nullptr) *error_number = error;
    // A file in place of one of its folders leaves no room for the file either.
    return error == ENOENT || error == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Failed;
  };
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return failed(errno);
  text.clear();
  char buffer[4096];
  for (;;) {
    if (!WaitReadable(fd.Get())) return failed(errno);
    ssize_t n = read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed(errno);
    if (n == 0) return ReadOutcome::Read;
    if (static_cast<std::size_t>(n) > kMaxTextFileBytes - text.size()) {
      text.clear();
      return failed(EFBIG);
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

int ReplaceFileContents(const std::string& path, const std::string& text) {
  struct stat existing {};
  const mode_t mode = stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0600;
  TemporaryFile temporary(path);
  if (temporary.Error() != 0) return temporary.Error();
  if (const int error = WriteAll(temporary.Fd(), text)) {
    errno = error;
    return temporary.Fail();
  }
  if (fchmod(temporary.Fd(), mode) != 0) return temporary.Fail();
  if (const int error = temporary.CommitAs(path)) return error;
  SyncFolderOf(path);
  return 0;
}

}  // namespace orgalink::platform
