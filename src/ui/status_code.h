// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_status.h"

namespace orgalink::ui {

// A status that arrives as a message parameter. The only conversion from a
// number into a status in the user interface; the other way is link::ToInt.
constexpr link::LinkStatus StatusFromCode(int code) {
  return static_cast<link::LinkStatus>(code);
}

}  // namespace orgalink::ui
