// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::link {

// The name of a command code as the log and the user see it ("ACK",
// "NACK"); an unknown code as its hex value ("0x2A").
std::string CommandName(int code);

}  // namespace orgalink::link
