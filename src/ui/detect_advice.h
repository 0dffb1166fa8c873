// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/cause.h"

namespace orgalink::ui {

// What follows "Auto Detect was unable to detect your Organizer." in both
// front ends: the cause of the last sweep and what to try, for example
// "Cause: opening the ports: COM1: Permission denied. Try: join the port's
// group, usually dialout, ...; press the organizer's PC-LINK button just
// before the search, and check that [Ports] in /home/u/Orgalink.ini names
// your serial devices." ("the settings file" when `settingsFile` is empty).
// Empty for a search the user aborted.
std::string DetectFailureAdvice(const link::Cause& cause, const std::string& settingsFile);

}  // namespace orgalink::ui
