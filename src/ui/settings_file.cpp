// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_file.h"

#include <filesystem>

#include "platform/file_system.h"
#include "platform/private_folders.h"
#include "platform/profile.h"
#include "ui/settings.h"
#include "ui/settings_check.h"

namespace orgalink::ui {

SettingsFile::SettingsFile(FileLocations where) : where_(std::move(where)) {
  // A file that exists but cannot be read gives the defaults as well, but it
  // is no first run: nothing may replace that file wholesale.
  const platform::ProfileRead read = platform::ReadProfile(where_.settingsFile);
  saved_ = SettingsFromDocument(read.document, where_);
  firstRun_ = read.outcome == platform::ReadOutcome::Missing;
  if (read.outcome == platform::ReadOutcome::Failed) {
    problems_.push_back("cannot be read: " + platform::ErrorText(read.error));
  }
  for (std::string& problem : SettingsValueProblems(read.document)) {
    problems_.push_back(std::move(problem));
  }
}

bool SettingsFile::Save(const settings::RunSettings& now, std::string& problem) {
  const std::vector<platform::ProfileChange> changes = SettingsChanges(saved_, now, firstRun_);
  if (!changes.empty()) {
    // Outside a portable copy the settings live in a folder of their own,
    // which does not exist before the first write.
    const std::filesystem::path folder = std::filesystem::path(Path()).parent_path();
    if (const int error = platform::MakePrivateFolders(folder.string())) {
      problem = platform::ErrorText(error);
      return false;
    }
    if (const int error = platform::MergeIntoProfile(Path(), changes)) {
      problem = platform::ErrorText(error);
      return false;
    }
  }
  saved_ = now;
  firstRun_ = false;
  return true;
}

std::string SettingsNotSavedText(const std::string& path, const std::string& problem) {
  return "The settings could not be saved in " + path + ": " + problem + ".";
}

std::string SettingsProblemsText(const SettingsFile& file) {
  std::string text;
  for (const std::string& problem : file.Problems()) {
    if (!text.empty()) text += "\n";
    text += "the settings file " + file.Path() + ": " + problem;
  }
  return text;
}

}  // namespace orgalink::ui
