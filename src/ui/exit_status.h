// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "link/link_status.h"
#include "platform/interrupt_signals.h"

namespace orgalink::ui {

// EX_SOFTWARE: the program itself is at fault.
inline constexpr int kExitInternalFault = 70;

// The exit status of a console run that ended with `status`, where
// `requested` names the signal, if any, that asked the run to stop. Success
// is 0; an abort gives the status shells expect of that signal (130 for
// Ctrl-C, 143 for SIGTERM), and an abort that nobody asked for is an
// internal fault (70); any other status is its own number.
int ExitStatusFor(link::LinkStatus status, std::optional<platform::InterruptKind> requested);

}  // namespace orgalink::ui
