#pragma once

#include <string>

namespace orgalink::cli {

// Prints the archive's path and one line per application with its record
// count on standard output, as read back from the file.
void PrintArchiveSummary(const std::string& path);

}  // namespace orgalink::cli
