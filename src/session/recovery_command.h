// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "session/session_request.h"

namespace orgalink::session {

// The command that puts a safety archive back after the restore `request`
// failed part-way: a restore of `safetyArchive` of the same application,
// through the same --port, --settings and --data-dir when the failed run was
// given them, each word quoted for a POSIX shell. It carries --yes: the user
// who runs it has read why, and a script that runs it has no terminal.
std::string RecoveryCommand(const SessionRequest& request, const std::string& safetyArchive);

}  // namespace orgalink::session
