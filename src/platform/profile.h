#pragma once

#include <string>

namespace orgalink::platform {

// INI settings files with the semantics of the private-profile functions:
// sections and keys are matched without regard to case, a missing file or
// key yields the default, integers are read from the leading decimal digits
// (an optional sign first; no digits gives 0), and a write creates the file,
// the section or the key as needed while keeping every other line as it was.
int GetProfileInt(const std::string& file, const std::string& section, const std::string& key,
                  int default_value);
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& default_value);
// Returns false when the file cannot be written.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace orgalink::platform
