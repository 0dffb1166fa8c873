// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_status.h"

#include <ostream>

namespace orgalink::link {

std::ostream& operator<<(std::ostream& out, LinkStatus status) {
  return out << ToInt(status);
}

}  // namespace orgalink::link
