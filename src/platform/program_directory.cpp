// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_directory.h"

#include <unistd.h>

#include <mutex>
#include <optional>
#include <vector>

#include "platform/file_system.h"

namespace orgalink::platform {

namespace {

std::mutex override_mutex;
std::optional<std::string> data_directory_override;

std::string WithTrailingSlash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

}  // namespace

std::string ProgramDirectory() {
  std::vector<char> path(4096);
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  return DirectoryOf(std::string(path.data(), static_cast<std::size_t>(length)));
}

std::string DataDirectory() {
  {
    std::lock_guard lock(override_mutex);
    if (data_directory_override) return *data_directory_override;
  }
  const std::string program = ProgramDirectory();
  if (FileExists(program + "code.dat")) return program;
  const std::string installed = program + "../share/orgalink/";
  if (!program.empty() && FileExists(installed + "code.dat")) return installed;
  return program;
}

void SetDataDirectory(std::string directory) {
  std::lock_guard lock(override_mutex);
  data_directory_override = WithTrailingSlash(std::move(directory));
}

void ClearDataDirectory() {
  std::lock_guard lock(override_mutex);
  data_directory_override.reset();
}

}  // namespace orgalink::platform
