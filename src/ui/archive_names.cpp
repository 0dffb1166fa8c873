// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archive_names.h"

#include <algorithm>

namespace orgalink::ui {

namespace {

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return {};
  return path.substr(0, slash);
}

void EnsureBackupExtension(std::string& path) {
  while (!path.empty() && IsSpace(path.back())) path.pop_back();
  const auto dot = path.find_last_of('.');
  if (dot != std::string::npos) {
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
    if (extension == ".bkf") return;
  }
  path += ".bkf";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + '/' + name;
}

}  // namespace orgalink::ui
