// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::testsupport {

// Checks the order in which every serial port reports results that hold at
// once: Cancelled, then Error, then Ready, then Timeout. `port` has received
// exactly the three bytes "abc"; `passed` is a deadline already expired;
// `hang_up` cuts the line. `kept_after_hang_up` tells whether bytes received
// before the cut can still be read (on a termios device they can; the
// virtual cable fails every read once cut).
void ExpectResultOrder(platform::SerialPort& port, platform::Tick passed,
                       const std::function<void()>& hang_up, bool kept_after_hang_up);

}  // namespace orgalink::testsupport
