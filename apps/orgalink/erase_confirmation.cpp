// SPDX-License-Identifier: GPL-3.0-or-later
#include "erase_confirmation.h"

#include <cstdio>

#include "interruptible.h"
#include "ui/exit_status.h"
#include "ui/instruction_texts.h"

namespace orgalink::cli {

bool EmptiesOrganizer(settings::RunMode runMode) {
  using settings::RunMode;
  return runMode == RunMode::Restore || runMode == RunMode::Restore4 ||
         runMode == RunMode::Restore6 || runMode == RunMode::DeleteAllRecords;
}

int ConfirmEmptying(const Console& console, bool yes, Interruptible& interrupts) {
  if (yes) return 0;
  if (!console.CanAsk()) {
    std::fprintf(stderr,
                 "orgalink: this run empties applications of the organizer, and there is no "
                 "terminal to ask first; give --yes to confirm.\n");
    return kExitNeedsYes;
  }
  // Ctrl-C is held from the start of the program, so the question watches
  // for it itself: it answers no and ends the program as the signal would.
  if (!interrupts.Watching()) return ui::kExitInternalFault;
  const bool confirmed = console.AskYesNo(ui::kRestoreQuestion, interrupts.Token().WakeFd());
  const auto stop = interrupts.Stop();
  if (confirmed && !stop) return 0;
  std::fprintf(stderr, "Nothing was sent to the organizer.\n");
  return stop ? platform::ExitStatusFor(*stop) : kExitDeclined;
}

}  // namespace orgalink::cli
