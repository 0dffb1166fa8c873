// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/progress_sink.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Sends every record of a record stream (records each followed by 0xFF) of
// one application. The stream must end with 0xFF and hold exactly
// `recordCount` records; it is refused before anything is sent otherwise.
// On the organizer's side FINISH_ALL_RECORDS follows the last record.
// Progress goes to `progress` (may be null) at most every 500 ms. Application
// code 6 is handed to SendExpenseCategory.
link::StepResult SendAllRecords(link::LinkEngine& engine, link::ProgressSink* progress,
                                std::span<const std::uint8_t> stream, std::uint8_t appliCode,
                                int recordCount, TransferRole role);

}  // namespace orgalink::transfer
