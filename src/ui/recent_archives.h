// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace orgalink::ui {

// The archives the dialogs opened or wrote last, newest first, so that the
// one looked at yesterday is a click away. They are kept in the settings
// file, in a section of their own ("[Recent Archives]", File1 to File5),
// which the command line ignores.
inline constexpr std::size_t kRecentArchivesKept = 5;

// `recent` with `path` moved (or added) in front, each path once, at most
// kRecentArchivesKept.
std::vector<std::string> RememberArchive(std::vector<std::string> recent, const std::string& path);

// The list kept in `settingsFile`, those that no longer exist left out; empty
// when the file or the section is missing.
std::vector<std::string> ReadRecentArchives(const std::string& settingsFile);

// Writes `recent` into `settingsFile`, clearing the places it leaves empty.
// 0, or the error number of what failed.
int SaveRecentArchives(const std::string& settingsFile, const std::vector<std::string>& recent);

}  // namespace orgalink::ui
