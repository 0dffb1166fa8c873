#include "erase_confirmation.h"

#include <cstdio>

#include "ui/instruction_texts.h"

namespace orgalink::cli {

bool EmptiesOrganizer(int runMode) {
  return runMode == 2 || runMode == 4 || runMode == 6 || runMode == 14;
}

int ConfirmEmptying(const Console& console, bool yes) {
  if (yes) return 0;
  if (!console.CanAsk()) {
    std::fprintf(stderr,
                 "orgalink: this run empties applications of the organizer, and there is no "
                 "terminal to ask first; give --yes to confirm.\n");
    return kExitNeedsYes;
  }
  if (console.AskYesNo(ui::kRestoreQuestion)) return 0;
  std::fprintf(stderr, "Nothing was sent to the organizer.\n");
  return kExitDeclined;
}

}  // namespace orgalink::cli
