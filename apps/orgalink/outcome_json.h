// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "session/session_outcome.h"
#include "store/record_comparison.h"

namespace orgalink::cli {

// Keys keep the order in which docs/json-output.md lists them.
using OrderedJson = nlohmann::ordered_json;

// The object `--json` prints for a command that ran a communication
// (backup, restore, verify): `command` as typed, the exit status it ends
// with, and what `outcome` tells: the status with its number, text and
// cause, the archive, the record count of each application, the safety
// archive of a restore and the command that puts it back, and the
// verification. A run that never began (a refused archive, a missing
// settings file) still gives every key, with the outcome's defaults.
// Callers may set keys afterwards (verify sets "archive" to the file
// compared with).
OrderedJson OutcomeJson(const std::string& command, const session::SessionOutcome& outcome,
                        int exitStatus);

// The "verify" member: whether the organizer matched, and per application
// its counts in the archive and on the organizer and how many records each
// holds that the other lacks.
OrderedJson VerifyJson(const std::vector<store::RecordDifference>& compared);

// Prints `object` on standard output, indented by two spaces, and returns
// `exitStatus`; a failed write is told on standard error and gives its own
// status (never 0).
int PrintJson(const OrderedJson& object, int exitStatus);

}  // namespace orgalink::cli
