// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/unique_fd.h"

#include <unistd.h>

namespace orgalink::platform {

// Out of line so that holders' headers stay free of system headers.
void UniqueFd::Reset() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

}  // namespace orgalink::platform
