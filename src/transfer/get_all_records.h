// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "link/link_engine.h"
#include "link/progress_sink.h"
#include "link/step_result.h"
#include "transfer/telephone_check.h"
#include "transfer/transfer_role.h"

namespace orgalink::transfer {

// Receives every record of one application as a record stream (each record
// followed by 0xFF) into `buffer`, which is zeroed first.
// On the PC side it asks for them with GET_ALL_RECORDS; on the organizer's
// side it takes the records the PC sends until END_COMMUNICATION. Telephone
// records from the base model are checked for completeness. `totalOut` gets
// the stream's length on success. Progress goes to `progress` (may be null).
// Application code 6 is handed to GetExpenseCategory. `recordsOut`, when
// given, gets the number of records received on success: a record holding
// 0xFF shows as more terminators in the stream than records.
link::StepResult GetAllRecords(link::LinkEngine& engine, link::ProgressSink* progress,
                               std::span<std::uint8_t> buffer, int& totalOut,
                               std::uint8_t appliCode, TransferRole role,
                               const TelephoneCheck& check, int* recordsOut = nullptr);

}  // namespace orgalink::transfer
