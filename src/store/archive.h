// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/store_result.h"

namespace orgalink::store {

// Layout of an archive (.bkf) file, numbers high byte first:
//   magic (6) "IM2BK1" with an inverted body, "IM2BK0" without
//   device code (2), section count N (1)
//   N sections: application (1), record count (2), the records as a stream
// When inverted, every byte after the 9-byte header is stored complemented.
inline constexpr std::string_view InvertedMagic = "IM2BK1";
inline constexpr std::string_view PlainMagic = "IM2BK0";
inline constexpr std::size_t ArchiveHeaderSize = 9;
inline constexpr std::size_t SectionHeaderSize = 3;

// One section of a parsed archive: its records lie, as a record stream in the
// organizer's codes, at body[offset .. offset + length).
struct ArchiveSection {
  std::uint8_t application = 0;
  std::uint16_t count = 0;
  std::size_t offset = 0;
  std::size_t length = 0;
};

struct ArchiveImage {
  std::array<char, 6> magic{};
  bool magic_valid = false;
  std::array<std::uint8_t, 2> device{};
  bool inverted = false;
  int section_count = 0;
  // Everything after the header, inversion undone.
  std::vector<std::uint8_t> body;
  std::vector<ArchiveSection> sections;
};

// Parses an archive held in memory without ever reading outside it.
// `expected_device`, when given, must match the file's device code.
// A file that is not an archive gives StoreBadMagic, one for another device
// StoreWrongDevice. Structurally malformed content (a short header, more
// sections than `max_sections`, sections or records running past the end,
// a record longer than 1023 bytes) gives StoreInvalid rather than
// StoreFailed: reading the same bytes again cannot help, so the restore must
// report the file as incompatible instead of offering a retry.
// Memory running out gives StoreFailed. `problem`, when given, receives a
// description of what is wrong.
StoreResult ParseArchive(std::span<const std::uint8_t> file, const std::uint8_t* expected_device,
                         int max_sections, ArchiveImage& image, std::string* problem);

// Display name of an application in messages: its AppliMode name, else a
// description.
std::string ApplicationName(std::uint8_t application);

}  // namespace orgalink::store
