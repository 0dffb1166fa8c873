// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell_word.h"

#include <algorithm>

namespace orgalink::ui {

namespace {

bool Plain(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("_-./,:+@%=").find(c) != std::string_view::npos;
}

}  // namespace

std::string ShellWord(std::string_view word) {
  // A leading '=' or '%' is plain too, but '~' and '#' at the start are
  // not; neither is in the plain set, so the rule holds anywhere.
  if (!word.empty() && std::all_of(word.begin(), word.end(), Plain)) return std::string(word);
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace orgalink::ui
