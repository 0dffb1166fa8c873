// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/read_interrupt.h"

#include <errno.h>
#include <poll.h>

#include <atomic>

namespace orgalink::platform {

namespace {
std::atomic<int> interrupt_fd{-1};
}  // namespace

void SetReadInterrupt(int wakeFd) {
  interrupt_fd = wakeFd;
}

bool WaitReadable(int fd) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {interrupt_fd.load(), POLLIN, 0}};
  for (;;) {
    // A descriptor of -1 is left out by poll() itself.
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return true;  // the read itself will tell what is wrong
    }
    if (fds[1].revents != 0) {
      errno = ECANCELED;
      return false;
    }
    return true;
  }
}

}  // namespace orgalink::platform
