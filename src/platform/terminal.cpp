// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace orgalink::platform {

bool IsTerminal(int fd) {
  return isatty(fd) == 1;
}

int TerminalColumns(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

namespace {

// Blocks until `fd` has input (true) or `wake_fd` is readable or the wait
// fails (false).
bool WaitForInput(int fd, int wake_fd) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {wake_fd, POLLIN, 0}};
  const nfds_t count = wake_fd >= 0 ? 2 : 1;
  for (;;) {
    if (poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (count == 2 && fds[1].revents != 0) return false;
    return fds[0].revents != 0;
  }
}

}  // namespace

// A terminal in its usual line mode hands over whole lines, so reading a byte
// at a time costs nothing and never takes more than the line.
std::optional<std::string> ReadLineUnlessWoken(int fd, int wake_fd) {
  std::string line;
  for (;;) {
    if (!WaitForInput(fd, wake_fd)) return std::nullopt;
    char c = 0;
    const ssize_t got = read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return line.empty() ? std::nullopt : std::optional(line);
    if (c == '\n') return line;
    line.push_back(c);
  }
}

}  // namespace orgalink::platform
