// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

namespace orgalink::cli {

// `orgalink inspect --json ARCHIVE`: the archive's header and sections for
// programs, laid out as docs/json-output.md describes. What makes the
// archive unusable goes to `err` as the text form says it. Returns the exit
// status: 0 for a sound archive, 1 otherwise (an archive that could be read
// is still described).
int InspectArchiveJson(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace orgalink::cli
