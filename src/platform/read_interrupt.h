// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::platform {

// The program's request to stop, as a descriptor that polls readable once
// it is made (a cancel token's), for the reads of files and standard input:
// a read from a FIFO or a terminal that nobody feeds ends when the user
// presses Ctrl-C instead of waiting for ever. -1 (the start) for none.
void SetReadInterrupt(int wakeFd);

// Waits until `fd` has something to read (or its end, or an error) and
// returns true; false with errno ECANCELED once the read interrupt fires.
bool WaitReadable(int fd);

}  // namespace orgalink::platform
