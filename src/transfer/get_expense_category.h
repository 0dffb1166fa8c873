// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/progress_sink.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Receives the expense category table (one packet) as a one-record stream;
// `totalOut` gets its length plus the terminator. An organizer that answers
// FINISH_ALL_RECORDS has no table: the stream is empty. A NACK in its place
// fails with 11.
link::StepResult GetExpenseCategory(link::LinkEngine& engine, link::ProgressSink* progress,
                                    std::span<std::uint8_t> buffer, int& totalOut,
                                    TransferRole role);

}  // namespace orgalink::transfer
