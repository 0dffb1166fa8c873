// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/numbered_name.h"

#include <cctype>

namespace orgalink::store {

namespace {

// Longer digit runs are part of the name, such as the time in
// "before-restore-20261210-134501".
constexpr std::size_t kMaxNumberDigits = 5;

// The number after the last '-' of `stem`, or 1 when it carries none.
unsigned long NumberOf(const std::string& stem, std::size_t& base_length) {
  const auto dash = stem.find_last_of('-');
  base_length = stem.size();
  if (dash == std::string::npos || dash + 1 == stem.size() ||
      stem.size() - dash - 1 > kMaxNumberDigits) {
    return 1;
  }
  for (std::size_t i = dash + 1; i < stem.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(stem[i]))) return 1;
  }
  base_length = dash;
  return std::stoul(stem.substr(dash + 1));
}

}  // namespace

std::string NextNumberedName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || dot <= name_start) dot = path.size();
  const std::string stem = path.substr(name_start, dot - name_start);
  std::size_t base_length = 0;
  const unsigned long number = NumberOf(stem, base_length);
  return path.substr(0, name_start) + stem.substr(0, base_length) + "-" +
         std::to_string(number + 1) + path.substr(dot);
}

}  // namespace orgalink::store
