// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace orgalink::platform {

enum class ReadOutcome { Read, Missing, Failed };

// The most a text file of the program's own (the settings) may hold: far
// beyond any real one, and small enough that /dev/zero named by mistake
// ends at once.
inline constexpr std::size_t kMaxTextFileBytes = 1 << 20;

// Reads the whole file. A file that does not exist, nor can for a file in
// place of one of its folders, is Missing; one that exists but cannot be
// read, or holds more than kMaxTextFileBytes, is Failed, with the reason in
// `error_number` (EFBIG for the size) when given.
ReadOutcome ReadFileContents(const std::string& path, std::string& text,
                             int* error_number = nullptr);

// Replaces the file's contents as one step: the text goes to a temporary
// file in the same folder, which is flushed and then renamed over the file,
// and the folder is flushed after it, so that neither a failed write nor a
// power cut leaves a truncated file or loses the new one. An existing file
// keeps its permissions. Returns 0, or the error number of the step that
// failed; the file is then unchanged. A new file is readable by its owner
// alone (0600): settings and exports hold the organizer's data.
int ReplaceFileContents(const std::string& path, const std::string& text);

}  // namespace orgalink::platform
