// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::ui {

// The folder part of `path`, before its last '/' and without it; "" when the
// path has no '/' or its only '/' is the first character.
std::string DirectoryOf(const std::string& path);

// Makes `path` end in ".bkf": trailing white space goes, and ".bkf" is
// appended unless the text from the last '.' on already reads ".bkf" in any
// letter case (which then stays as the user typed it).
void EnsureBackupExtension(std::string& path);

// `folder` and `name` with exactly one '/' between them; just `name` when
// `folder` is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace orgalink::ui
