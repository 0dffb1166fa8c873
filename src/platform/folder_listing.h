// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orgalink::platform {

// A regular file found in a folder, with when it was last written in local
// time.
struct FolderFile {
  std::string name;
  // The modification time as eight digits of the local date (20261210) and
  // the seconds since local midnight.
  int localDate = 0;
  int localSecond = 0;
};

// The regular files of `folder` (symbolic links to them included), in no
// particular order. 0, or the error number of a folder that cannot be read;
// a file that vanishes while the folder is read is left out.
int ListFolderFiles(const std::string& folder, std::vector<FolderFile>& files);

// Removes the file at `path`. 0, or the error number.
int RemoveFile(const std::string& path);

}  // namespace orgalink::platform
