#pragma once

#include <functional>
#include <optional>

#include "link/link_status.h"
#include "platform/interrupt_signals.h"

namespace orgalink::cli {

// Runs `work` (a communication or a port search) on this thread with
// SIGINT and SIGTERM turned into the abort request that every wait of the
// link looks for. This thread's queue exists before the first signal can
// arrive, so an interrupt is never lost. `stop` receives the signal that
// asked to stop, if one did (the first counts).
link::LinkStatus RunInterruptible(const std::function<link::LinkStatus()>& work,
                                  std::optional<platform::InterruptKind>& stop);

}  // namespace orgalink::cli
