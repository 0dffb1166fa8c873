#pragma once

#include <string>

namespace orgalink::platform {

enum class ReadOutcome { Read, Missing, Failed };

// Reads the whole file. A file that does not exist is Missing; one that
// exists but cannot be read is Failed.
ReadOutcome ReadFileContents(const std::string& path, std::string& text);

// Replaces the file's contents as one step: the text goes to a temporary
// file in the same folder, which is then renamed over the file, so a failed
// write never leaves a truncated file behind. An existing file keeps its
// permissions. False when anything fails; the file is then unchanged.
bool ReplaceFileContents(const std::string& path, const std::string& text);

}  // namespace orgalink::platform
