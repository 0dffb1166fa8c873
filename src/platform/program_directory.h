// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::platform {

// The folder of the running program with its trailing '/', or "" when it
// cannot be found out.
std::string ProgramDirectory();

// Where "code.dat" and "sort.dat" are read from, with its trailing '/':
// the override set by SetDataDirectory(); else the program's folder when
// code.dat lies there (a build tree); else <program folder>/../share/orgalink/
// when code.dat lies there (an installation); else the program's folder.
std::string DataDirectory();
// Overrides the search above; a trailing '/' is added when missing.
void SetDataDirectory(std::string directory);
// Goes back to the search.
void ClearDataDirectory();

}  // namespace orgalink::platform
