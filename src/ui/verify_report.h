// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "store/record_comparison.h"

namespace orgalink::ui {

// The exit status of a verification that found the organizer holding
// something else than the archive (1 already answers the restore question
// with no).
inline constexpr int kExitVerifyMismatch = 18;

// The exit status of a restore that completed but whose verification could
// not read the organizer back (a cable pulled in between, say): the
// organizer holds the archive as far as the restore could tell, and only
// the check is missing.
inline constexpr int kExitRestoredUnverified = 19;
inline constexpr const char* kRestoredUnverified =
    "The restore itself completed; only the check that reads the organizer back could not be "
    "made, so what the organizer holds is not verified.";

// The instruction between a restore and its verification.
inline constexpr const char* kVerifyInstruction =
    "To verify the restore, press the [PC-LINK] button on the organizer again.";

// The log of the read-back that follows a restore, beside the restore's own
// so that it does not replace it: "comm.log" gives "comm-verify.log".
std::string ReadBackLogName(const std::string& restoreLog);

// What a verification reports: "Verified: 42 records in 7 applications
// match", or a line for each application that differs (its counts in the
// archive and on the organizer, and how many records each holds that the
// other lacks, or that only their order differs) followed by the verdict.
std::string VerifyReport(const std::vector<store::RecordDifference>& compared);

// Whether every application matches.
bool AllMatch(const std::vector<store::RecordDifference>& compared);

}  // namespace orgalink::ui
