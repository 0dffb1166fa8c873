// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orgalink::store {

// One record as a person reads and edits it. Either its binary fields and
// its text (split at the zero bytes into fields, decoded to UTF-8), or, when
// its text would not come back byte for byte from that form, the whole
// record in the organizer's codes.
struct ReadableRecord {
  bool readable = true;
  // The application's TextOffset leading bytes, or fewer in a shorter record.
  std::vector<std::uint8_t> prefix;
  // At least one field in a readable record: empty text is one empty field.
  std::vector<std::string> fields;
  // The record as the archive holds it, when it is not readable.
  std::vector<std::uint8_t> bytes;

  bool operator==(const ReadableRecord&) const = default;
};

}  // namespace orgalink::store
