// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace orgalink::testsupport {

Pty::Pty() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  slave_path_ = ptsname(master_);
}

Pty::~Pty() {
  if (master_ >= 0) close(master_);
}

std::vector<std::uint8_t> Pty::Read(std::size_t count, int timeout_ms) {
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < count) {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, timeout_ms) <= 0 || (fd.revents & POLLIN) == 0) break;
    std::uint8_t buffer[512];
    const ssize_t got = read(master_, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (got <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return bytes;
}

void Pty::Write(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(master_, bytes.data() + done, bytes.size() - done);
    if (put <= 0) throw std::runtime_error("pseudo-terminal write failed");
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace orgalink::testsupport
