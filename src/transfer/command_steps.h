// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_engine.h"
#include "link/step_result.h"

namespace orgalink::transfer {

// Sends `code` and logs `sentLine` once it went out.
link::StepResult SendLogged(link::LinkEngine& engine, int code, const char* sentLine);

// Waits for the organizer's ACK with the engine's time-outs; a missing ACK
// (or anything else in its place) is logged as such.
link::StepResult AwaitAck(link::LinkEngine& engine);

}  // namespace orgalink::transfer
