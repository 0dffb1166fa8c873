// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/packet_cut.h"

#include "transfer/data_packet.h"

namespace orgalink::transfer {

namespace {
// The organizer takes less in the first packet of a record.
constexpr int kFirstPacketMax = 241;
}  // namespace

PacketCut NextPacketCut(int size, int offset) {
  if (offset == 0) {
    return size <= kFirstPacketMax ? PacketCut{size, PacketFirst}
                                   : PacketCut{kFirstPacketMax, PacketFirst};
  }
  if (size > offset + MaxPacketContents) return {MaxPacketContents, PacketMiddle};
  return {size - offset, PacketLast};
}

}  // namespace orgalink::transfer
