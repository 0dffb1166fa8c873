// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/safe_restore_texts.h"

#include "ui/archive_names.h"
#include "ui/shell_word.h"

namespace orgalink::ui {

std::string SafetyArchivePath(const std::string& backupDir, platform::Clock& clock) {
  return JoinPath(backupDir, "before-restore-" + clock.LocalTime("%Y%m%d-%H%M%S") + ".bkf");
}

std::string SafetyNote(const SafetyCopy& safety, RestoreFront front) {
  const bool dialog = front == RestoreFront::Dialog;
  if (safety.failed) {
    const std::string cause =
        safety.writeError.empty() ? "" : "It could not be written: " + safety.writeError + "\n";
    return std::string(
               "Nothing on the organizer was changed: the safety backup of its contents failed, "
               "so the restore stopped before deleting anything.\n") +
           cause +
           (dialog ? "To restore without a safety backup, set SafetyBackup=0 in [Settings] of "
                     "Orgalink.ini."
                   : "To restore without a safety backup, add --no-safety-backup.");
  }
  if (!safety.deletionsBegun || safety.writtenTo.empty()) return {};
  return "The restore failed after it began to empty the organizer. Its contents before the "
         "restore are in the safety backup " +
         safety.writtenTo + "\n" +
         (dialog ? "To put them back, choose Restore and that file."
                 : "To put them back: " + (safety.recoveryCommand.empty()
                                               ? "orgalink restore " + ShellWord(safety.writtenTo)
                                               : safety.recoveryCommand));
}

std::string SafetyWrittenLine(const SafetyCopy& safety) {
  if (safety.writtenTo.empty()) return {};
  return "Safety backup of the organizer before the restore: " + safety.writtenTo;
}

}  // namespace orgalink::ui
