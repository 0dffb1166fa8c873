// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/text_format.h"

#include <cstdio>
#include <vector>

namespace orgalink::link {

std::string FormatV(const char* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

}  // namespace orgalink::link
