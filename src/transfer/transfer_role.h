// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace orgalink::transfer {

// Which side of the link a record transfer plays. The two PC roles behave the
// same inside a transfer; they only differ in what the calling operation does
// around it (negotiating and ending the communication, or not).
enum TransferRole : std::uint8_t {
  PcFull = 0,
  PcStep = 2,
  HandheldSide = 3,
};

inline constexpr bool IsPcRole(TransferRole role) {
  return role != HandheldSide;
}

}  // namespace orgalink::transfer
