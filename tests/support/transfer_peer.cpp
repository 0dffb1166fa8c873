// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/transfer_peer.h"

#include <algorithm>

namespace orgalink::testsupport {

Bytes DataPacketFrame(std::uint8_t code, std::uint8_t position, int recordSize,
                      const Bytes& contents) {
  Bytes frame{code, position, static_cast<std::uint8_t>(recordSize >> 8),
              static_cast<std::uint8_t>(recordSize), static_cast<std::uint8_t>(contents.size())};
  frame.insert(frame.end(), contents.begin(), contents.end());
  unsigned sum = 0;
  for (std::uint8_t b : frame) sum += b;
  frame.push_back(static_cast<std::uint8_t>(sum));
  return frame;
}

std::vector<Bytes> RecordPackets(std::uint8_t code, const Bytes& record) {
  const int size = static_cast<int>(record.size());
  std::vector<Bytes> packets;
  int offset = 0;
  do {
    int length = 0;
    std::uint8_t position = 0x00;
    if (offset == 0) {
      length = std::min(size, 241);
    } else if (size - offset > 252) {
      length = 252;
      position = 0xF0;
    } else {
      length = size - offset;
      position = 0xA0;
    }
    packets.push_back(DataPacketFrame(
        code, position, size, Bytes(record.begin() + offset, record.begin() + offset + length)));
    offset += length;
  } while (offset < size);
  return packets;
}

Bytes RecordStream(const std::vector<Bytes>& records) {
  Bytes stream;
  for (const Bytes& record : records) {
    stream.insert(stream.end(), record.begin(), record.end());
    stream.push_back(0xFF);
  }
  return stream;
}

Bytes PatternRecord(int size, std::uint8_t first) {
  Bytes record(static_cast<std::size_t>(size));
  std::uint8_t value = first;
  for (auto& b : record) {
    b = value;
    value = value >= 0xFE ? 1 : value + 1;
  }
  return record;
}

bool SendRecordsAsOrganizer(FarEnd& far, std::uint8_t code, const std::vector<Bytes>& records) {
  for (const Bytes& record : records) {
    for (const Bytes& packet : RecordPackets(code, record)) {
      far.Send(packet);
      if (far.ReceiveCommand() != CommandFrame(6)) return false;
    }
  }
  return true;
}

int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string InLog(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool LinesInOrder(const std::string& log, const std::vector<std::string>& lines) {
  std::size_t at = 0;
  for (const std::string& line : lines) {
    at = log.find(InLog(line), at);
    if (at == std::string::npos) return false;
    at += line.size();
  }
  return true;
}

}  // namespace orgalink::testsupport
