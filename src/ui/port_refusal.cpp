// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_refusal.h"

#include <system_error>

namespace orgalink::ui {

namespace {

// An open error names the device before the system's text.
bool Refused(const std::string& part) {
  const std::size_t colon = part.rfind(": ");
  const std::string system = colon == std::string::npos ? part : part.substr(colon + 2);
  return system == std::make_error_code(std::errc::permission_denied).message() ||
         system == std::make_error_code(std::errc::operation_not_permitted).message();
}

}  // namespace

bool RefusedAccess(const std::string& systemText) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = systemText.find("; ", start);
    if (Refused(systemText.substr(start, end - start))) return true;
    if (end == std::string::npos) return false;
    start = end + 2;
  }
}

}  // namespace orgalink::ui
