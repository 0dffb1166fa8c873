// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "link/link_engine.h"
#include "link/link_status.h"
#include "link/progress_sink.h"
#include "link/step_result.h"

namespace orgalink::link {

// Looks for the organizer on COM1..COM4, up to five sweeps: before each port
// a 500 ms pause and DetectChecking (port) reported to `progress` (may be
// null), then up to 3000 ms for the organizer's LINK_REQUEST and a full
// negotiation. The organizer found is released with END_COMMUNICATION.
// Returns the port number 1..4 (also left in the engine's status), or 12
// when no port answered, the search was aborted (the engine's abort token
// was set), or the closing END_COMMUNICATION failed; with 12 comes the
// cause: how the ports of the last sweep failed (none would open, or which
// ones stayed silent), the abort, or the failed command's own cause. The
// port is closed on return.
StepResult AutoDetect(LinkEngine& engine, ProgressSink* progress);

// The port a search found, 0 for none, with the cause when none was.
struct DetectResult {
  int port = 0;
  Cause cause;
};

// The same search, where each sweep goes on after COM4 with `extraDevices`:
// the engine opens them as ports 5, 6, ... (its port opener maps those
// numbers to them), DetectChecking reports those numbers, and the log names
// them by device. Returns the port found, 1..4 + extraDevices.size(), or 0
// when none was, with AutoDetect's cause; the engine's status is
// AutoDetect's, and LinkOk for a device beyond COM4.
DetectResult AutoDetectPort(LinkEngine& engine, ProgressSink* progress,
                            const std::vector<std::string>& extraDevices);

}  // namespace orgalink::link
