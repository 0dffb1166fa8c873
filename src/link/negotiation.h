// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_engine.h"
#include "link/link_status.h"
#include "link/progress_sink.h"
#include "link/step_result.h"

namespace orgalink::link {

// Organizer variants told apart by the negotiation (the engine's ModelVariant).
inline constexpr int VariantE = 0;
inline constexpr int VariantM = 1;
inline constexpr int VariantEPlus = 2;

// The PC side of the opening handshake: waits up to `linkRequestTimeout` ms
// for LINK_REQUEST (with `multiplier`, -1 meaning the engine's TOMultiplier),
// answers ACK, checks the organizer's DEVICE_INFORMATION against the engine's
// device code and probes the variant with GET_DEVICE_INFORMATION, which only
// an M answers within a second. `progress` (may be null) hears that the PC
// waits and, with a log configured, which variant it found, for the front
// end to tag its title with.
StepResult Negotiation(LinkEngine& engine, ProgressSink* progress, long linkRequestTimeout,
                       long multiplier);

// The organizer's side, for the emulation: offers LINK_REQUEST every 2 s for
// 30 s until the PC answers ACK, then identifies itself with the engine's
// device code.
StepResult NegotiationForDevice(LinkEngine& engine, ProgressSink* progress);

}  // namespace orgalink::link
