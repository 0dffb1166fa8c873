// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "outcome_json.h"
#include "store/archive_diff.h"

namespace orgalink::cli {

// `orgalink diff --json A B`: the two archives' paths, whether their records
// differ, their device codes, and per application the counts with the
// records added and removed, laid out as docs/json-output.md describes.
OrderedJson DiffJson(const std::string& a, const std::string& b, const store::ArchiveDiff& diff);

}  // namespace orgalink::cli
