// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <climits>

namespace orgalink::testsupport {

// Time-out settings as the settings file or the command line may hand them
// over, unchecked. None may end a wait before the organizer answers, make it
// loop without blocking, or overflow on the way to a deadline.
struct OutlandishTimeouts {
  long timeout;     // ms
  long multiplier;  // ms per byte
};

inline constexpr OutlandishTimeouts kOutlandishTimeouts[] = {
    {3'000'000'000L, 0},  // beyond what a tick deadline can hold
    {2'147'484'000L, 0},  // --to-command 2147484: exactly 2^31-1 ms once cut
    {LONG_MAX, 0},        {30000, -20000},   {30000, LONG_MIN},
    {30000, 2147483647L}, {30000, LONG_MAX},  // M + 10000, 4 × M and M × (n + 1) all overflow
                                              // unless cut
};

}  // namespace orgalink::testsupport
