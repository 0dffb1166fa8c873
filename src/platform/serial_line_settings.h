#pragma once

#include <termios.h>

namespace orgalink::platform {

// The rate actually used for `baud`: one of 9600, 19200, 38400, 57600 and
// 115200, or 19200 for any other value.
int SupportedBaud(int baud);

// Raw 8N1 at `baud` (a supported rate), receiver on, modem status lines
// ignored, no flow control of any kind, reads that return at once.
void MakeRaw8N1(termios& settings, int baud);

// Raises (or drops) DTR and RTS. Devices without modem lines, such as
// pseudo-terminals, count as success. Leaves errno set on failure.
bool SetModemLines(int fd, bool raise);

}  // namespace orgalink::platform
