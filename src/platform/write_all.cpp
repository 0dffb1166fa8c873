// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/write_all.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

namespace orgalink::platform {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd ready{fd, POLLOUT, 0};
      if (poll(&ready, 1, -1) < 0 && errno != EINTR) return errno;
      continue;
    }
    return written == 0 ? EIO : errno;
  }
  return 0;
}

}  // namespace orgalink::platform
