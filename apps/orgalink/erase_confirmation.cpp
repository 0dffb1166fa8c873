#include "erase_confirmation.h"

#include <cstdio>

#include "ui/instruction_texts.h"

namespace orgalink::cli {

bool EmptiesOrganizer(operations::RunMode runMode) {
  using operations::RunMode;
  return runMode == RunMode::Restore || runMode == RunMode::Restore4 ||
         runMode == RunMode::Restore6 || runMode == RunMode::DeleteAllRecords;
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
