// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/line_fixture.h"

namespace orgalink::testsupport {

// A DataPacket exactly as it travels: code, position, record size (high byte
// first), contents length, contents and the byte-sum checksum.
Bytes DataPacketFrame(std::uint8_t code, std::uint8_t position, int recordSize,
                      const Bytes& contents);

// The packets of one record, cut the way the organizer cuts it: 241 bytes
// first, then 252-byte middles, and the rest last. Written out here apart
// from the product's own cutting so that a test can tell them apart.
std::vector<Bytes> RecordPackets(std::uint8_t code, const Bytes& record);

// Records back to back, each followed by 0xFF.
Bytes RecordStream(const std::vector<Bytes>& records);

// A record of `size` bytes counting up from `first` (never 0xFF or 0).
Bytes PatternRecord(int size, std::uint8_t first = 1);

// Sends each packet of each record and takes the PC's ACK after it; returns
// false (and stops) when something else than an ACK came.
bool SendRecordsAsOrganizer(FarEnd& far, std::uint8_t code, const std::vector<Bytes>& records);

// Occurrences of `what` in `text`.
int CountOf(const std::string& text, const std::string& what);

// A log text as written to the file (CR LF line ends).
std::string InLog(const std::string& text);

// True when each of `lines` (written with "\n") appears in `log` after the
// one before it.
bool LinesInOrder(const std::string& log, const std::vector<std::string>& lines);

}  // namespace orgalink::testsupport
