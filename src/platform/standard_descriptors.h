// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::platform {

// Opens /dev/null on whichever of descriptors 0, 1 and 2 a program was
// started without, so that the descriptors it opens later (an eventfd, a
// port) never take their place and receive what is meant for standard
// output or error. Call it first thing in main().
void EnsureStandardDescriptors();

}  // namespace orgalink::platform
