// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace orgalink::transfer {

// The piece of a record that the next packet carries.
struct PacketCut {
  int length = 0;
  std::uint8_t position = 0;
};

// How a record of `size` bytes is cut, given the `offset` already sent: the
// first packet takes the whole record up to 241 bytes (else 241 bytes), later
// packets take 252 bytes while more than 252 remain, and the last one takes
// the rest. Only meaningful while offset < size.
PacketCut NextPacketCut(int size, int offset);

}  // namespace orgalink::transfer
