// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_status.h"

namespace orgalink::ui {

// The text the user is shown for a status, shared by the progress and
// port-detection dialogs and the command line. Success (16) and every code
// outside 0..15 read "Error.": the table has no text of its own for them, so
// callers decide first whether a status is reported at all (see EndNotice).
const char* StatusMessages(link::LinkStatus status);

}  // namespace orgalink::ui
