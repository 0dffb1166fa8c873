// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_port_list.h"

namespace orgalink::cli {

// Where the serial port listing reads the kernel's view: this machine's, or
// that of a made-up machine under the folder ORGALINK_SYSROOT names, which
// stands for "/" (its sys/class/tty, dev and dev/serial/by-id), to try
// `ports` and `detect` on a machine one does not have.
platform::SerialPortRoots ListingRoots();

}  // namespace orgalink::cli
