// SPDX-License-Identifier: GPL-3.0-or-later
#include "preflight.h"

#include <cstdio>
#include <sstream>
#include <string_view>

#include "link/link_status.h"
#include "platform/file_system.h"
#include "platform/folder_access.h"
#include "platform/program_directory.h"

namespace orgalink::cli {

namespace {

constexpr int kExitUsage = 2;

bool WritesArchive(settings::RunMode runMode) {
  using settings::RunMode;
  return runMode == RunMode::Backup || runMode == RunMode::Backup3 || runMode == RunMode::Backup5 ||
         runMode == RunMode::BackupStep;
}

// A folder as DirectoryOf gives it ("" or with its '/'), as people write it.
std::string Shown(std::string_view folder) {
  if (folder.empty()) return ".";
  if (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace

int CheckNamedSettingsFile(const std::string& path, bool mayCreate) {
  if (path.empty() || mayCreate || platform::FileExists(path)) return 0;
  std::fprintf(stderr,
               "orgalink: the settings file %s does not exist (--settings names an existing "
               "file; leave it out for the usual one)\n",
               path.c_str());
  return kExitUsage;
}

int CheckSettingsValues(const ui::SettingsFile& file) {
  const std::string text = ui::SettingsProblemsText(file);
  if (text.empty()) return 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::fprintf(stderr, "orgalink: %s\n", line.c_str());
  }
  std::fprintf(stderr, "orgalink: correct the settings file, or remove the key for its default\n");
  return kExitUsage;
}

int CheckRunMode(int number, const std::string& archive) {
  constexpr int kLast = settings::ToInt(settings::kLastRunMode);
  if (number < 0 || number > kLast) {
    std::fprintf(stderr, "orgalink: RunMode %d does not exist; N must be 0 to %d\n", number, kLast);
    return kExitUsage;
  }
  if (number >= 1 && number <= 8 && archive.empty()) {
    std::fprintf(stderr, "orgalink: RunMode %d needs --file: RunModes 1 to 8 work on an archive\n",
                 number);
    return kExitUsage;
  }
  return 0;
}

int CheckCharacterTables(const std::string& directory) {
  for (const char* name : {"code.dat", "sort.dat"}) {
    const std::string path = directory + name;
    platform::InputFile table(path);
    if (table.IsOpen()) continue;
    std::fprintf(stderr,
                 "orgalink: the character table %s cannot be read: %s. Install the program "
                 "again, or name the tables' folder with --data-dir.\n",
                 path.c_str(), platform::ErrorText(table.Error()).c_str());
    return kExitUsage;
  }
  return 0;
}

int CheckCharacterTablesIn(const std::string& dataDir) {
  return CheckCharacterTables(dataDir.empty() ? platform::DataDirectory() : dataDir + "/");
}

int CheckArchiveFolder(settings::RunMode runMode, const std::string& archive) {
  if (!WritesArchive(runMode) || archive.empty()) return 0;
  const std::string folder = platform::DirectoryOf(archive);
  const auto problem = platform::FolderWriteProblem(folder);
  if (!problem) return 0;
  // As the write itself would say it, but at once and with the folder.
  std::fprintf(stderr, "Write file error.\nCause: %s: %s.\n", Shown(folder).c_str(),
               problem->c_str());
  return link::ToInt(link::LinkFileReadCancelled);
}

}  // namespace orgalink::cli
