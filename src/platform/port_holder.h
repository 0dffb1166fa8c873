// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/unique_fd.h"

namespace orgalink::platform {

// A note that names who holds a serial port, kept while a long-running
// command (watch) holds it, so that a command refused the port can say who
// has it instead of a bare "busy". It lies in the user's runtime folder
// ($XDG_RUNTIME_DIR/orgalink, or /tmp/orgalink-UID when there is none), one
// file per device. Its writer keeps a lock on it for as long as it lives:
// a note whose writer has ended, even without tidying up, is unlocked and
// read as no note at all, so a stale one never names a process.
class PortHolderNote {
 public:
  // Writes the note for `device` naming `holder` ("orgalink watch") and this
  // process. Null, with the reason in `error`, when it cannot be written;
  // holding the port does not depend on it.
  static std::unique_ptr<PortHolderNote> Write(const std::string& device, const std::string& holder,
                                               std::string& error);
  // Removes the note.
  ~PortHolderNote();
  PortHolderNote(const PortHolderNote&) = delete;
  PortHolderNote& operator=(const PortHolderNote&) = delete;

 private:
  PortHolderNote(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

  UniqueFd fd_;
  std::string path_;
};

// Who holds `device`, as a live note tells it ("orgalink watch, process
// 1234"); empty when no live note names anyone.
std::string PortHolder(const std::string& device);

}  // namespace orgalink::platform
