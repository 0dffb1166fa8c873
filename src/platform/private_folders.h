// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::platform {

// Makes `path` and every missing folder above it, each one readable and
// searchable by its owner alone (0700): they come to hold archives and logs
// of a person's data. Folders that exist already are left as they are.
// Returns 0, also when `path` is a folder already, or the error number of
// the step that failed (EEXIST when a file has the folder's name, ENOTDIR
// when one has the name of a folder above it).
int MakePrivateFolders(const std::string& path);

}  // namespace orgalink::platform
