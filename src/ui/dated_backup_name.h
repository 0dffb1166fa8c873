// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/clock.h"

namespace orgalink::ui {

// The archive name proposed for a backup: today's local date as eight digits
// and ".bkf", for example "20260907.bkf".
std::string DatedBackupName(platform::Clock& clock);

// Where a backup without a chosen name goes: today's name in `folder`, or,
// when something of that name is there already, the first free one of
// "<date>-2.bkf", "<date>-3.bkf", ... so that a second backup on the same day
// keeps the first. The name is only a proposal: a backup writes it as a
// numbered archive (RunContext::numberedArchive), which moves on to the next
// number should another backup take the name before this one is written.
std::string FreeDatedBackupPath(const std::string& folder, platform::Clock& clock);

}  // namespace orgalink::ui
