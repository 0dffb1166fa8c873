// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::ui {

// What to try when the system refused this user a port: the same words
// wherever a refused port is told.
inline constexpr const char* kJoinPortGroupHint =
    "join the port's group, usually dialout, then log in again (orgalink ports shows how)";

// Whether the system's text for a port that did not open says it was
// refused to this user (EACCES, EPERM): "/dev/ttyS1: Permission denied", or
// a search's list of them, "COM1: Permission denied; COM2: No such file or
// directory", where one such port is enough.
bool RefusedAccess(const std::string& systemText);

}  // namespace orgalink::ui
