// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "ui/keep_policy.h"

namespace orgalink::ui {

struct PruneResult {
  // 0, or 1 when the folder cannot be read or a removal failed.
  int status = 0;
  std::size_t archives = 0;  // the program's archives found
  std::size_t removed = 0;   // those removed, or that would be with dryRun
};

// Removes the archives of `folder` that `policy` does not keep, oldest
// first, printing "removed PATH" for each on `out` (with `dryRun` "would
// remove PATH", and nothing is removed). A removal that fails is told on
// `err` and the others go on. An archive that cannot be used (a restore
// would refuse it) is told on `err`, neither counted by a rule nor removed.
// A policy without any rule removes nothing (the caller tells why).
PruneResult PruneFolder(const std::string& folder, const KeepPolicy& policy, bool dryRun,
                        std::ostream& out, std::ostream& err);

}  // namespace orgalink::ui
