// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>

namespace orgalink::platform {

namespace {

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

bool Describe(const std::string& path, FolderFile& file) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  struct tm local {};
  const time_t modified = status.st_mtime;
  if (::localtime_r(&modified, &local) == nullptr) return false;
  file.localDate = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
  file.localSecond = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  return true;
}

}  // namespace

int ListFolderFiles(const std::string& folder, std::vector<FolderFile>& files) {
  files.clear();
  const std::unique_ptr<DIR, FolderCloser> entries(
      ::opendir(folder.empty() ? "." : folder.c_str()));
  if (!entries) return errno;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(entries.get());
    if (entry == nullptr) return errno;
    FolderFile file;
    file.name = entry->d_name;
    if (file.name == "." || file.name == "..") continue;
    if (Describe(prefix + file.name, file)) files.push_back(std::move(file));
  }
}

int RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

}  // namespace orgalink::platform
