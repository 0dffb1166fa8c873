// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Receives the packets of one record into `buffer` (at most its size),
// acknowledging each. `countOut` gets the bytes stored, `kindOut` the
// application code of the packets, or 13 when FINISH_ALL_RECORDS came in
// place of a record. FINISH_ALL_RECORDS is refused with 11 when playing the
// organizer, who never receives it, and in the middle of a record, whose
// received part would otherwise be lost. On the organizer's side every
// further packet of a record is announced by the PC's SEND_1_RECORD.
link::StepResult ReceiveRecord(link::LinkEngine& engine, std::span<std::uint8_t> buffer,
                               int& countOut, std::uint8_t& kindOut, TransferRole role);

}  // namespace orgalink::transfer
