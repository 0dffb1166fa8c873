// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace orgalink::platform {

// Writes all of `bytes` to the descriptor, going on after a signal or a
// partial write, and waiting in poll() on a descriptor that is not
// blocking. Returns 0, or the error number of the write that failed.
int WriteAll(int fd, std::string_view bytes);

}  // namespace orgalink::platform
