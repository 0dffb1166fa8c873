// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "link/link_status.h"

namespace orgalink::ui {

// What the user is told when a communication ends: a warning box with this
// text and caption.
struct EndNotice {
  std::string text;
  std::string caption;
};

// Nothing for success (16) and for a cancelled archive read or write (17),
// which the user chose; "User aborted." / "Abort" for 0; the status text with
// "Error" for everything else.
std::optional<EndNotice> EndNoticeFor(link::LinkStatus status);

}  // namespace orgalink::ui
