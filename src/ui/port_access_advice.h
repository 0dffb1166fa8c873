// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/serial_port_list.h"

namespace orgalink::ui {

// Whether this user may open `port` and, where not, what makes it so: the
// verdict first, then the fix.
std::vector<std::string> PortAccessAdvice(const platform::SerialPortEntry& port);

}  // namespace orgalink::ui
