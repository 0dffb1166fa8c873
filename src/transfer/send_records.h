#pragma once

#include <cstdint>
#include <span>

#include "link/cause.h"
#include "link/link_engine.h"
#include "link/progress_sink.h"
#include "link/step_result.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Why a send refused to start: no port, or no records to send.
link::Cause NothingToSend(const link::LinkEngine& engine);

// Sends every record of a record stream (records each followed by 0xFF) of
// one application. The stream must end with 0xFF and hold exactly
// `recordCount` records; it is refused before anything is sent otherwise.
// On the organizer's side FINISH_ALL_RECORDS follows the last record.
// Progress goes to `progress` (may be null) at most every 500 ms. Application
// code 6 is handed to SendExpenseCategory.
link::StepResult SendAllRecords(link::LinkEngine& engine, link::ProgressSink* progress,
                                std::span<const std::uint8_t> stream, std::uint8_t appliCode,
                                int recordCount, TransferRole role);

// Sends one record (terminator not included) as DataPackets, each answered
// by ACK; on the PC side each packet is also announced with SEND_1_RECORD.
// An empty record sends nothing.
link::StepResult SendRecord(link::LinkEngine& engine, std::span<const std::uint8_t> record,
                            std::uint8_t appliCode, TransferRole role);

// Sends the expense category table, a stream whose only 0xFF is its last
// byte, as one packet (so 1..252 bytes before the terminator).
link::StepResult SendExpenseCategory(link::LinkEngine& engine, std::span<const std::uint8_t> stream,
                                     TransferRole role);

}  // namespace orgalink::transfer
