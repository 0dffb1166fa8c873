#include "platform/file_contents.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/unique_fd.h"

namespace orgalink::platform {

namespace {

// A temporary file that is removed again unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& beside) : path_(beside + ".XXXXXX") {
    fd_ = UniqueFd(mkostemp(path_.data(), O_CLOEXEC));
  }
  ~TemporaryFile() {
    if (!committed_ && fd_.Valid()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Valid() const { return fd_.Valid(); }
  int Fd() const { return fd_.Get(); }

  // Makes the written file the one at `path`; removes it when that fails.
  bool CommitAs(const std::string& path) {
    bool ok = fsync(fd_.Get()) == 0;
    ok = close(fd_.Release()) == 0 && ok;
    ok = ok && rename(path_.c_str(), path.c_str()) == 0;
    if (!ok) unlink(path_.c_str());
    committed_ = true;
    return ok;
  }

 private:
  std::string path_;
  UniqueFd fd_;
  bool committed_ = false;
};

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

ReadOutcome ReadFileContents(const std::string& path, std::string& text) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
  text.clear();
  char buffer[4096];
  for (;;) {
    ssize_t n = read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadOutcome::Failed;
    if (n == 0) return ReadOutcome::Read;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

bool ReplaceFileContents(const std::string& path, const std::string& text) {
  struct stat existing {};
  mode_t mode = stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  TemporaryFile temporary(path);
  if (!temporary.Valid()) return false;
  if (!WriteAll(temporary.Fd(), text) || fchmod(temporary.Fd(), mode) != 0) return false;
  return temporary.CommitAs(path);
}

}  // namespace orgalink::platform
