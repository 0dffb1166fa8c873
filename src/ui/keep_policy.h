// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/folder_archives.h"

namespace orgalink::ui {

// Which archives of the backup folder to keep. Each rule counts from the
// newest archive back; an archive kept by any rule stays.
struct KeepPolicy {
  // The N newest dated backups.
  std::optional<int> last = std::nullopt;
  // The newest dated backup of each of the N latest days, weeks (Monday to
  // Sunday) and months that have one.
  std::optional<int> daily = std::nullopt;
  std::optional<int> weekly = std::nullopt;
  std::optional<int> monthly = std::nullopt;
  // The N newest safety copies; without this rule every one is kept.
  std::optional<int> safety = std::nullopt;

  // Whether any rule speaks about dated backups; without one none is removed.
  bool RulesDated() const { return last || daily || weekly || monthly; }
  bool Empty() const { return !RulesDated() && !safety; }
};

// For archives given newest first (ListFolderArchives): true for each that
// no rule keeps. The newest dated backup is always kept, and nothing is
// removed where no rule covers its kind.
std::vector<bool> ArchivesToRemove(const std::vector<FolderArchive>& newestFirst,
                                   const KeepPolicy& policy);

}  // namespace orgalink::ui
