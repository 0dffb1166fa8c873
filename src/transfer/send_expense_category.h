// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Sends the expense category table, a stream whose only 0xFF is its last
// byte, as one packet (so 1..252 bytes before the terminator).
link::StepResult SendExpenseCategory(link::LinkEngine& engine, std::span<const std::uint8_t> stream,
                                     TransferRole role);

}  // namespace orgalink::transfer
