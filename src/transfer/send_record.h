// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Sends one record (terminator not included) as DataPackets, each answered
// by ACK; on the PC side each packet is also announced with SEND_1_RECORD.
// An empty record sends nothing.
link::StepResult SendRecord(link::LinkEngine& engine, std::span<const std::uint8_t> record,
                            std::uint8_t appliCode, TransferRole role);

}  // namespace orgalink::transfer
