// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace orgalink::platform {

// The serial rates the program runs at: 9600, 19200, 38400, 57600 and
// 115200 bit/s. Anything else runs at 19200.
inline constexpr int kDefaultBaud = 19200;

// The rate actually used for `baud`.
int SupportedBaud(int baud);

// The rate named by a settings text, which must be one of the rates written
// out exactly ("9600", not "09600" or "9600 ").
int BaudFromText(std::string_view text);

}  // namespace orgalink::platform
