// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::platform {

// Opens a termios serial device (a real port or a pseudo-terminal) for
// exclusive use: flock plus TIOCEXCL, so a port held by another program
// fails to open. 8N1, raw, no flow control, DTR and RTS raised where the
// device has modem lines. Waits block in poll() on the device and the
// cancel token's descriptor; `clock` must be the system clock.
std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& path, int baud, Clock& clock,
                                                std::string& error);

// Takes over `fd`, an open termios device that needs no locking (the master
// side of a pseudo-terminal, say), and sets it up like OpenPosixSerialPort.
// The port closes it; on failure it is closed at once.
std::unique_ptr<SerialPort> AdoptPosixSerialDevice(int fd, int baud, Clock& clock,
                                                   std::string& error);

}  // namespace orgalink::platform
