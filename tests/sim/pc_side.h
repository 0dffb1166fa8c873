// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

#include "link/link_engine.h"
#include "link/link_status.h"
#include "link/progress_sink.h"
#include "sim/organizer_contents.h"
#include "transfer/telephone_check.h"

namespace orgalink::simtest {

// The records of every application in the order they came (or go).
using Applis = std::array<std::vector<sim::Record>, sim::kApplications>;

Applis ApplisOf(const sim::OrganizerContents& contents);

// The PC's side as the backup and restore operations drive it, built from
// the product's link and transfer steps. A failure ends with NACK and
// END_COMMUNICATION, as the communication driver ends it.
// `check` holds the tables of the base model's Telephone order check.
link::StepResult PcBackup(link::LinkEngine& engine, link::ProgressSink* progress,
                          const transfer::TelephoneCheck& check, Applis& fetched);
// Empties the six record applications, then sends every non-empty one.
link::StepResult PcRestore(link::LinkEngine& engine, link::ProgressSink* progress,
                           const Applis& applis);
// The negotiation alone, closed with END_COMMUNICATION (or NACK first after
// a failure).
link::StepResult PcNegotiate(link::LinkEngine& engine, link::ProgressSink* progress);

}  // namespace orgalink::simtest
