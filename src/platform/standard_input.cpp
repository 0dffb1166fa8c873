// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/standard_input.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include "platform/read_interrupt.h"

namespace orgalink::platform {

std::optional<std::size_t> ReadStandardInput(char* buffer, std::size_t size, int& error_number) {
  for (;;) {
    if (!WaitReadable(STDIN_FILENO)) {
      error_number = errno;
      return std::nullopt;
    }
    const ssize_t got = read(STDIN_FILENO, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno == EINTR) continue;
    // A descriptor left non-blocking by whoever passed it is waited on.
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd ready{STDIN_FILENO, POLLIN, 0};
      if (poll(&ready, 1, -1) >= 0 || errno == EINTR) continue;
    }
    error_number = errno;
    return std::nullopt;
  }
}

}  // namespace orgalink::platform
