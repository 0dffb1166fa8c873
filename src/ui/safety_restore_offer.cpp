// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/safety_restore_offer.h"

namespace orgalink::ui {

std::string SafetyRestoreQuestion(const SafetyCopy& safety) {
  if (safety.failed || !safety.deletionsBegun || safety.writtenTo.empty()) return {};
  return "The restore failed after it began to empty the organizer. Its contents before the "
         "restore are in the safety backup " +
         safety.writtenTo + "\nRestore that safety backup now?";
}

}  // namespace orgalink::ui
