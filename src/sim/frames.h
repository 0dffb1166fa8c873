// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orgalink::sim {

using Bytes = std::vector<std::uint8_t>;

// The two frames of the line as the organizer builds and reads them: a
// command is 7F, code, two parameters and the byte sum; a DataPacket is the
// application code (0..6), its position in the record, the record size (high
// byte first), the contents length, the contents and the byte sum.
inline constexpr std::uint8_t kCommandStart = 0x7F;
inline constexpr std::size_t kCommandSize = 5;
inline constexpr std::size_t kPacketHeaderSize = 5;
inline constexpr std::size_t kMaxContents = 252;
inline constexpr std::size_t kFirstContents = 241;
inline constexpr std::uint8_t kHighestAppliCode = 6;

enum PacketPosition : std::uint8_t {
  PositionFirst = 0x00,
  PositionMiddle = 0xF0,
  PositionLast = 0xA0,
};

std::array<std::uint8_t, kCommandSize> CommandFrame(std::uint8_t code, std::uint8_t p1 = 0,
                                                    std::uint8_t p2 = 0);
Bytes PacketFrame(std::uint8_t appli, std::uint8_t position, std::size_t record_size,
                  const std::uint8_t* contents, std::size_t length);

// One packet's share of a record: the first carries up to 241 bytes, the
// middle ones 252, the last what remains.
struct PacketPiece {
  std::size_t offset;
  std::size_t length;
  std::uint8_t position;
};
std::vector<PacketPiece> CutRecord(std::size_t record_size);

// A frame that came from the PC.
struct Frame {
  bool command = false;
  // Checksum right and, for a packet, lengths that fit together.
  bool intact = false;
  Bytes bytes;

  std::uint8_t Code() const { return bytes[1]; }  // command code
  std::uint8_t Param1() const { return bytes[2]; }
  std::uint8_t Appli() const { return bytes[0]; }     // packet
  std::uint8_t Position() const { return bytes[1]; }  // packet
  std::size_t RecordSize() const { return std::size_t{bytes[2]} << 8 | bytes[3]; }
  std::size_t Length() const { return bytes[4]; }
  const std::uint8_t* Contents() const { return bytes.data() + kPacketHeaderSize; }
  bool Is(std::uint8_t code) const { return command && intact && Code() == code; }
};

// Takes the first whole frame from `input`, dropping the bytes before it
// that open no frame. A packet header whose length cannot be right is taken
// alone, as a damaged frame. Nothing when no whole frame is there yet; the
// bytes of a frame begun stay in `input`.
std::optional<Frame> TakeFrame(Bytes& input);

// How many more bytes `input`, left as TakeFrame leaves it, needs before the
// frame it has begun could be whole (the rest of its header first): at least
// one.
std::size_t BytesToCompleteFrame(const Bytes& input);

}  // namespace orgalink::sim
