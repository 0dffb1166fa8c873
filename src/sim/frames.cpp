// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/frames.h"

#include <algorithm>
#include <numeric>

namespace orgalink::sim {

namespace {

std::uint8_t ByteSum(const std::uint8_t* bytes, std::size_t count) {
  return static_cast<std::uint8_t>(std::accumulate(bytes, bytes + count, 0u));
}

bool OpensFrame(std::uint8_t byte) {
  return byte == kCommandStart || byte <= kHighestAppliCode;
}

// Bytes the frame at the front of `input` needs, 0 when its header is not
// in yet; sets `sane` false for a packet whose lengths cannot be right.
std::size_t FrameSize(const Bytes& input, bool& sane) {
  sane = true;
  if (input[0] == kCommandStart) return kCommandSize;
  if (input.size() < kPacketHeaderSize) return 0;
  const std::size_t length = input[4];
  const std::size_t record_size = std::size_t{input[2]} << 8 | input[3];
  if (length > kMaxContents || length > record_size) {
    sane = false;
    return kPacketHeaderSize;
  }
  return kPacketHeaderSize + length + 1;
}

}  // namespace

std::array<std::uint8_t, kCommandSize> CommandFrame(std::uint8_t code, std::uint8_t p1,
                                                    std::uint8_t p2) {
  std::array<std::uint8_t, kCommandSize> frame{kCommandStart, code, p1, p2, 0};
  frame[4] = ByteSum(frame.data(), 4);
  return frame;
}

Bytes PacketFrame(std::uint8_t appli, std::uint8_t position, std::size_t record_size,
                  const std::uint8_t* contents, std::size_t length) {
  Bytes frame(kPacketHeaderSize + length + 1);
  frame[0] = appli;
  frame[1] = position;
  frame[2] = static_cast<std::uint8_t>(record_size >> 8);
  frame[3] = static_cast<std::uint8_t>(record_size & 0xFF);
  frame[4] = static_cast<std::uint8_t>(length);
  std::copy_n(contents, length, frame.begin() + kPacketHeaderSize);
  frame.back() = ByteSum(frame.data(), frame.size() - 1);
  return frame;
}

std::vector<PacketPiece> CutRecord(std::size_t record_size) {
  std::vector<PacketPiece> pieces;
  if (record_size == 0) return pieces;
  if (record_size <= kFirstContents) return {{0, record_size, PositionFirst}};
  pieces.push_back({0, kFirstContents, PositionFirst});
  std::size_t offset = kFirstContents;
  for (; record_size - offset > kMaxContents; offset += kMaxContents) {
    pieces.push_back({offset, kMaxContents, PositionMiddle});
  }
  pieces.push_back({offset, record_size - offset, PositionLast});
  return pieces;
}

std::optional<Frame> TakeFrame(Bytes& input) {
  const auto start = std::find_if(input.begin(), input.end(), OpensFrame);
  input.erase(input.begin(), start);
  if (input.empty()) return std::nullopt;
  bool sane = true;
  const std::size_t size = FrameSize(input, sane);
  if (size == 0 || input.size() < size) return std::nullopt;
  Frame frame;
  frame.command = input[0] == kCommandStart;
  frame.bytes.assign(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(size));
  input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(size));
  frame.intact = sane && ByteSum(frame.bytes.data(), size - 1) == frame.bytes[size - 1];
  return frame;
}

std::size_t BytesToCompleteFrame(const Bytes& input) {
  if (input.empty() || !OpensFrame(input[0])) return 1;
  bool sane = true;
  const std::size_t size = FrameSize(input, sane);
  const std::size_t wanted = size == 0 ? kPacketHeaderSize : size;
  return wanted > input.size() ? wanted - input.size() : 1;
}

}  // namespace orgalink::sim
