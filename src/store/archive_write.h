// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::store {

// One write of an archive file (an AppliStore's, or one built in memory):
// where it goes, and what the write tells back when it fails.
struct ArchiveWrite {
  // The archive's file; with `keepExisting`, the name it was written under.
  std::string path;
  // Inverts the body.
  bool scramble = false;
  // Off: the archive replaces whatever file holds `path`. On: it never
  // replaces a file, and a name taken by the time the archive is complete,
  // even by another backup an instant earlier, gives way to the next
  // numbered one (NextNumberedName, store/numbered_name.h).
  bool keepExisting = false;
  // The system's message for the file step that failed, or what the
  // read-back found: the whole of what the user is told.
  std::string errorText;
  // Why the archive was refused before any file was touched, to go with the
  // generic message: the free space lacking, "No space left on device (needs
  // 353916 bytes, 12288 free)", or the folder whose free space could not be
  // found out, with the system's reason.
  std::string refusal;
  // The errno that goes with either: of the file step that failed, or of
  // the refusal (ENOSPC for want of room); 0 when none applies.
  int errorNumber = 0;
};

}  // namespace orgalink::store
