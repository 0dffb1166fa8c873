// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <termios.h>

#include "platform/baud_rate.h"

namespace orgalink::platform {

// Raw 8N1 at `baud` (a supported rate), receiver on, modem status lines
// ignored, no flow control of any kind, reads that return at once.
void MakeRaw8N1(termios& settings, int baud);

// The driver's low-latency mode. USB adapters otherwise hand received bytes
// over in bursts when their latency timer runs out (16 ms on an FTDI), which
// makes a busy line look quiet between bursts. Asked for where the driver
// offers it; a driver that does not is no error.
class LowLatency {
 public:
  void Request(int fd);
  // Leaves the mode again if Request switched it on.
  void Restore(int fd);

 private:
  bool changed_ = false;
};

// Raises (or drops) DTR and RTS. Devices without modem lines, such as
// pseudo-terminals, count as success. Leaves errno set on failure.
bool SetModemLines(int fd, bool raise);

}  // namespace orgalink::platform
