// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "link/link_status.h"
#include "platform/interrupt_signals.h"

namespace orgalink::cli {

// The program's exit status for the status a run ended with, where
// `requested` names the signal, if any, that asked it to stop: the rule of
// ui::ExitStatusFor, except that a run a signal cut short gives the signal's
// status whatever it ended with (an interrupted Retry question ends the run
// as a cancel, 17, not as an abort).
int ExitCodeFor(link::LinkStatus status, std::optional<platform::InterruptKind> requested);

}  // namespace orgalink::cli
