// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace orgalink::platform {

// The file an output named on the command line (-o) really goes to.
struct OutputTarget {
  // The path given, or, for a symbolic link, the file it finally leads to
  // (which need not exist yet): the link stays, its target is replaced.
  std::string path;
  // A device, FIFO or socket: written as it stands, never replaced.
  bool in_place = false;
};

// Follows `path` through its links. False, with the error number, for a
// folder (EISDIR), a loop of links (ELOOP) or a path that cannot be looked
// at; a name that does not exist yet is a new regular file.
bool ResolveOutput(const std::string& path, OutputTarget& target, int* error_number);

// Writes `bytes` into the special file `path` as it stands. Returns 0, or
// the error number of the step that failed (the close included).
int WriteInPlace(const std::string& path, std::string_view bytes);

// Writes `bytes` as the output `path`: into a device or FIFO as it stands
// (/dev/null stays /dev/null, a reader of the FIFO gets the bytes), and
// otherwise as a replace in one step (ReplaceFileContents) of the regular
// file it names or leads to, refused when that file is write-protected.
// Returns 0, or the error number of the step that failed; no temporary
// file is left behind.
int WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace orgalink::platform
