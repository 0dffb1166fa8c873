// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/standard_descriptors.h"

#include <fcntl.h>
#include <unistd.h>

namespace orgalink::platform {

void EnsureStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) continue;
    // open() takes the lowest free number, which is this one.
    const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened != fd && opened >= 0) close(opened);
  }
}

}  // namespace orgalink::platform
