// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "link/frame.h"
#include "link/link_engine.h"
#include "link/step_result.h"

namespace orgalink::transfer {

// Position byte of a DataPacket within its record.
inline constexpr std::uint8_t PacketFirst = 0x00;
inline constexpr std::uint8_t PacketMiddle = 0xF0;
inline constexpr std::uint8_t PacketLast = 0xA0;

// Most contents bytes one packet carries, and the size of the whole frame:
// code, position, two size bytes, length, contents, checksum.
inline constexpr int MaxPacketContents = 252;
inline constexpr int PacketHeaderSize = 5;
inline constexpr int PacketFrameSize = PacketHeaderSize + MaxPacketContents + 1;
using PacketFrame = std::array<std::uint8_t, PacketFrameSize>;
static_assert(PacketFrameSize == link::MaxFrameSize);

// Expected code of a wait that takes a packet of any application.
inline constexpr int AnyAppliCode = 0xFF;

// Builds one packet around `contents` (1..252 bytes) and writes it.
// `recordSize` is the length of the whole record; its low 16 bits go on the
// line. Contents outside 1..252 bytes return 11 and leave the status alone.
link::StepResult SendDataPacket(link::LinkEngine& engine, std::span<const std::uint8_t> contents,
                                int recordSize, std::uint8_t appliCode, std::uint8_t position);

// Where WaitDataPacket puts what it received. `contents` holds `capacity`
// bytes; a packet that does not fit is refused with 11. `kind` and
// `position` are optional. Without `kind`, a FINISH_ALL_RECORDS or NACK
// command that comes in place of a packet is handed over as five bytes of
// contents; with it, FINISH_ALL_RECORDS yields kind 13 and NACK fails.
struct PacketOut {
  std::uint8_t* contents = nullptr;
  int capacity = 0;
  int* length = nullptr;
  std::uint8_t* kind = nullptr;
  std::uint8_t* position = nullptr;
};

// Waits for one DataPacket of `expectedCode` (or of any application with
// AnyAppliCode) and checks it. A packet whose contents length equals its
// record size is reported as the last of its record. `timeout` and
// `multiplier` are in ms; -1 takes the engine's TODataPacket and TOMultiplier.
link::StepResult WaitDataPacket(link::LinkEngine& engine, int expectedCode, const PacketOut& out,
                                long timeout = -1, long multiplier = -1);

}  // namespace orgalink::transfer
