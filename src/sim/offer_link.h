// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "sim/sim_line.h"
#include "sim/sim_options.h"

namespace orgalink::sim {

enum class OfferResult { Linked, Unanswered, Stopped, Failed };

// The organizer's side of the opening, after PC-LINK: LINK_REQUEST about
// once a second until the PC answers ACK or `window_ms` has passed (0: no
// end), then DEVICE_INFORMATION with the variant's device code. Whatever
// else comes meanwhile is ignored.
OfferResult OfferLink(SimLine& line, const SimOptions& options, std::uint32_t window_ms);

// Parameter 1 (Low) of DEVICE_INFORMATION: 0 for the E, 1 for the E+ and M.
std::uint8_t DeviceCodeLow(SimVariant variant);

}  // namespace orgalink::sim
