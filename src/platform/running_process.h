// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::platform {

// Whether a process whose command name is `name` runs, as the process table
// under `procRoot` tells. The kernel keeps the first 15 characters of a
// command name, so longer names never match.
bool ProcessRunning(const std::string& name, const std::string& procRoot = "/proc");

}  // namespace orgalink::platform
