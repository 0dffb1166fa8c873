// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "console.h"
#include "interruptible.h"
#include "settings/run_mode.h"

namespace orgalink::cli {

// Exit statuses of a run that did not start because nobody agreed to empty
// the organizer.
inline constexpr int kExitDeclined = 1;
inline constexpr int kExitNeedsYes = 2;

// True for the RunModes whose run empties applications of the organizer:
// the whole restores (2, 4 and 6, with or without an archive) and
// DELETE_ALL_RECORDS (14).
bool EmptiesOrganizer(settings::RunMode runMode);

// Asks the restore question before such a run, unless `yes` (--yes) has
// answered it. Returns 0 when the run may go on; otherwise prints why not
// and returns kExitNeedsYes without a terminal to ask, kExitDeclined when
// the answer was no, or the signal's status when Ctrl-C or SIGTERM came
// instead of an answer.
int ConfirmEmptying(const Console& console, bool yes, Interruptible& interrupts);

}  // namespace orgalink::cli
