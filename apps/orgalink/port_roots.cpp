// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_roots.h"

#include <cstdlib>
#include <string>

namespace orgalink::cli {

platform::SerialPortRoots ListingRoots() {
  const char* root = std::getenv("ORGALINK_SYSROOT");
  if (root == nullptr || *root == '\0') return {};
  const std::string base = root;
  return {base + "/sys/class/tty", base + "/dev", base + "/dev/serial/by-id"};
}

}  // namespace orgalink::cli
