// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_holder.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "platform/write_all.h"

namespace orgalink::platform {

namespace {

constexpr std::size_t kLongestNote = 200;

// The user's own folder for notes: made 0700 when missing, and refused when
// somebody else owns it, since a planted note would name a false holder.
std::string NoteFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime != nullptr && runtime[0] == '/'
                                 ? std::string(runtime) + "/orgalink"
                                 : "/tmp/orgalink-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat found {};
  if (lstat(folder.c_str(), &found) != 0 || !S_ISDIR(found.st_mode) || found.st_uid != getuid()) {
    return {};
  }
  return folder;
}

// One note per device, named after the device's real path, so that a
// symbolic link (/dev/serial/by-id/...) and the node it leads to share it.
std::string NotePath(const std::string& device) {
  char* real = realpath(device.c_str(), nullptr);
  const std::string key = real != nullptr ? real : device;
  free(real);
  const std::string folder = NoteFolder();
  if (folder.empty()) return {};
  std::string name = "port";
  for (const char c : key) {
    if (c == '/') {
      name += "%2F";
    } else if (c == '%') {
      name += "%25";
    } else {
      name += c;
    }
  }
  return folder + "/" + name;
}

}  // namespace

std::unique_ptr<PortHolderNote> PortHolderNote::Write(const std::string& device,
                                                      const std::string& holder,
                                                      std::string& error) {
  const std::string path = NotePath(device);
  if (path.empty()) {
    error = "no private folder for the port's note";
    return nullptr;
  }
  // Written whole under a passing name and locked before it takes its
  // place, so that a reader never sees half a note or an unlocked live one.
  const std::string passing = path + ".new" + std::to_string(getpid());
  UniqueFd fd(open(passing.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  const std::string text = holder + ", process " + std::to_string(getpid()) + "\n";
  int failure = 0;
  if (!fd.Valid() || flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    failure = errno;
  } else if (const int written = WriteAll(fd.Get(), text); written != 0) {
    failure = written;
  } else if (rename(passing.c_str(), path.c_str()) != 0) {
    failure = errno;
  }
  if (failure != 0) {
    error = path + ": " + std::strerror(failure);
    unlink(passing.c_str());
    return nullptr;
  }
  return std::unique_ptr<PortHolderNote>(new PortHolderNote(std::move(fd), path));
}

PortHolderNote::~PortHolderNote() {
  unlink(path_.c_str());
}

std::string PortHolder(const std::string& device) {
  const std::string path = NotePath(device);
  if (path.empty()) return {};
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  // A lock that can be had means nobody keeps the note alive any more.
  if (!fd.Valid() || flock(fd.Get(), LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK) return {};
  char text[kLongestNote] = {};
  const ssize_t got = read(fd.Get(), text, sizeof text - 1);
  if (got <= 0) return {};
  std::string_view note(text, static_cast<std::size_t>(got));
  const std::size_t end = note.find('\n');
  if (end == std::string_view::npos) return {};
  return std::string(note.substr(0, end));
}

}  // namespace orgalink::platform
