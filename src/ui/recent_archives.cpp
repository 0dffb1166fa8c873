// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recent_archives.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace orgalink::ui {

namespace {

constexpr const char* kSection = "Recent Archives";

std::string KeyOf(std::size_t index) {
  return "File" + std::to_string(index + 1);
}

}  // namespace

std::vector<std::string> RememberArchive(std::vector<std::string> recent, const std::string& path) {
  std::erase(recent, path);
  recent.insert(recent.begin(), path);
  if (recent.size() > kRecentArchivesKept) recent.resize(kRecentArchivesKept);
  return recent;
}

std::vector<std::string> ReadRecentArchives(const std::string& settingsFile) {
  const platform::ProfileRead read = platform::ReadProfile(settingsFile);
  std::vector<std::string> recent;
  for (std::size_t i = 0; i < kRecentArchivesKept; ++i) {
    const std::string path = platform::ProfileString(read.document, kSection, KeyOf(i), "");
    // An archive moved or deleted since is not offered; nor is one listed twice by hand.
    if (path.empty() || !platform::FileExists(path)) continue;
    if (std::find(recent.begin(), recent.end(), path) == recent.end()) recent.push_back(path);
  }
  return recent;
}

int SaveRecentArchives(const std::string& settingsFile, const std::vector<std::string>& recent) {
  std::vector<platform::ProfileChange> changes;
  for (std::size_t i = 0; i < kRecentArchivesKept; ++i) {
    changes.push_back({kSection, KeyOf(i), i < recent.size() ? recent[i] : std::string()});
  }
  return platform::MergeIntoProfile(settingsFile, changes);
}

}  // namespace orgalink::ui
