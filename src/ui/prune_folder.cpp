// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/prune_folder.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "store/checked_archive.h"
#include "ui/archive_names.h"
#include "ui/folder_archives.h"

namespace orgalink::ui {

namespace {

// An archive that cannot be used neither counts for a keep rule, which would
// otherwise keep it in place of a sound one, nor goes: what is wrong with it
// is for its owner to look at.
std::vector<FolderArchive> Usable(const std::string& folder,
                                  const std::vector<FolderArchive>& archives, std::ostream& err) {
  std::vector<FolderArchive> usable;
  for (const FolderArchive& archive : archives) {
    store::CheckedArchive checked;
    if (store::ReadArchiveFile(JoinPath(folder, archive.name), checked) == store::StoreOk) {
      usable.push_back(archive);
    } else {
      err << "orgalink: left alone and not counted: " << checked.message << '\n';
    }
  }
  return usable;
}

}  // namespace

PruneResult PruneFolder(const std::string& folder, const KeepPolicy& policy, bool dryRun,
                        std::ostream& out, std::ostream& err) {
  PruneResult result;
  std::vector<FolderArchive> archives;
  if (const int error = ListFolderArchives(folder, archives)) {
    err << "orgalink: cannot read the folder " << folder << ": " << platform::ErrorText(error)
        << '\n';
    result.status = 1;
    return result;
  }
  result.archives = archives.size();
  archives = Usable(folder, archives, err);
  const std::vector<bool> remove = ArchivesToRemove(archives, policy);
  for (std::size_t i = archives.size(); i-- > 0;) {
    if (!remove[i]) continue;
    const std::string path = JoinPath(folder, archives[i].name);
    if (dryRun) {
      out << "would remove " << path << '\n';
    } else if (const int error = platform::RemoveFile(path)) {
      err << "orgalink: cannot remove " << path << ": " << platform::ErrorText(error) << '\n';
      result.status = 1;
      continue;
    } else {
      out << "removed " << path << '\n';
    }
    ++result.removed;
  }
  return result;
}

}  // namespace orgalink::ui
