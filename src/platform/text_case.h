// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace orgalink::platform {

// UTF-8 text with every letter in lower case, by the system's Unicode
// tables, so that two texts can be compared without regard to case. Bytes
// that are not UTF-8 pass unchanged.
std::string LowerCase(std::string_view utf8);

}  // namespace orgalink::platform
