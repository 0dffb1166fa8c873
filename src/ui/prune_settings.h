// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/ini_document.h"
#include "ui/keep_policy.h"

namespace orgalink::ui {

// The keep policy `watch` applies to the backup folder after each backup:
// section [Prune] of the settings file, keys KeepLast, KeepDaily,
// KeepWeekly, KeepMonthly and KeepSafety, each a whole number 0 to 100000
// with the meaning of the prune option of the same name; a key left out or
// empty is no rule. A value that is no such number goes to `problems` as
// "[Prune] KeepDaily=abc is not a whole number 0 to 100000", and then the
// policy is empty, so that a typing error never removes an archive.
KeepPolicy KeepPolicyFromDocument(const platform::IniDocument& document,
                                  std::vector<std::string>& problems);

// Reads the settings file at `settingsFile` anew and prunes `backupDir` by
// its [Prune] section, as `orgalink prune` would: each archive removed goes
// to `report` as "removed PATH"; problems with the section or a removal go
// to `err`. Without a rule in the section nothing happens and nothing is
// printed. Returns 0, or 1 when the section is wrong or a removal failed.
int ApplyPrunePolicyFromSettings(const std::string& settingsFile, const std::string& backupDir,
                                 std::ostream& report, std::ostream& err);

}  // namespace orgalink::ui
