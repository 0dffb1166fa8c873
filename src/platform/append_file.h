// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "platform/unique_fd.h"

namespace orgalink::platform {

// A file that entries are appended to, held open between them. Each Append
// hands its bytes to the system at once, so that what was appended is in the
// file even if the program stops right after. A file removed or renamed away
// while held is opened anew under its name, as a writer that opened it for
// every entry would.
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Lets go of the current file; the next Append opens `path`.
  void SetPath(std::string path);
  const std::string& Path() const { return path_; }

  // Appends to the file, created when missing (readable by its owner alone:
  // a log shows every record that crossed the line) and never truncated. False
  // when it cannot be opened or written; the next call tries again.
  bool Append(const char* data, std::size_t size);

 private:
  bool StillNamed() const;

  std::string path_;
  UniqueFd fd_;
};

}  // namespace orgalink::platform
