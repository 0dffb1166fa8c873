// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/clock.h"

namespace orgalink::ui {

// The safety copy's name for a restore started now, in `backupDir`:
// "before-restore-20261210-134501.bkf" (local time).
std::string SafetyArchivePath(const std::string& backupDir, platform::Clock& clock);

// Which front end tells the user; they name different ways to act.
enum class RestoreFront { CommandLine, Dialog };

// What became of a restore's safety copy, in the terms the user is told.
struct SafetyCopy {
  // The name the copy was written under; empty when none was written.
  std::string writtenTo;
  // The copy could not be taken or written, so nothing was deleted; with
  // the system's reason when writing it failed.
  bool failed = false;
  std::string writeError;
  // The restore had begun to empty the organizer.
  bool deletionsBegun = false;
  // The command that puts the copy back (the same application, port and
  // settings as the failed restore), ready for a shell.
  std::string recoveryCommand;
};

// What a failed restore adds to its status text about the organizer's data:
// that nothing was changed when the safety copy failed, and how to restore
// without one; where the copy is, and how to put it back, when the restore
// failed after it began deleting. Empty when there is nothing to add.
std::string SafetyNote(const SafetyCopy& safety, RestoreFront front);

// The line a successful restore prints about its safety copy; empty when it
// took none.
std::string SafetyWrittenLine(const SafetyCopy& safety);

}  // namespace orgalink::ui
