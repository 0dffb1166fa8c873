// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/running_process.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace orgalink::platform {

namespace {

bool IsProcessId(const std::string& name) {
  return !name.empty() &&
         std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

bool ProcessRunning(const std::string& name, const std::string& procRoot) {
  std::error_code error;
  std::filesystem::directory_iterator entry(procRoot, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    if (!IsProcessId(entry->path().filename().string())) continue;
    // A process may end between the listing and the read; it then reads as
    // nothing.
    std::ifstream comm(entry->path() / "comm");
    std::string command;
    if (std::getline(comm, command) && command == name) return true;
  }
  return false;
}

}  // namespace orgalink::platform
