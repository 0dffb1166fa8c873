// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "operations/merge_plan.h"

namespace orgalink::operations {

// The lines that tell the user what a restore did (`done`) or, for a dry
// run, would do: one per application, then a note on the expense categories
// when they matter, and for a dry run that changes nothing
// "Nothing would change.".
//   Telephone: 3 kept, 1 added
//   Telephone: would delete 3 records and send 4: 3 kept, 1 added
std::vector<std::string> RestorePlanLines(const RestorePlan& plan, bool done);

}  // namespace orgalink::operations
