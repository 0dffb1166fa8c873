// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/code_conversion.h"

#include "store/appli_kind.h"

namespace orgalink::store {

namespace {

constexpr std::uint8_t kFirstTranslated = 0x7F;
constexpr std::uint8_t kLastTranslated = 0xFE;

bool Translated(std::uint8_t byte) {
  return byte >= kFirstTranslated && byte <= kLastTranslated;
}

// The organizer shows neither control codes nor anything above its own
// character set.
bool Unprintable(std::uint8_t byte) {
  return (byte >= 0x01 && byte <= 0x1F) || (byte >= 0xC0 && byte <= 0xFE);
}

}  // namespace

void FromDeviceCodes(const CodeTable& incoming, std::uint8_t kind, std::span<std::uint8_t> record) {
  for (std::size_t i = static_cast<std::size_t>(TextOffset(kind)); i < record.size(); ++i) {
    if (Translated(record[i])) record[i] = incoming[record[i] - kFirstTranslated];
  }
}

void ToDeviceCodes(const CodeTable& outgoing, std::uint8_t kind, std::span<std::uint8_t> record) {
  for (std::size_t i = static_cast<std::size_t>(TextOffset(kind)); i < record.size(); ++i) {
    if (Translated(record[i])) record[i] = outgoing[record[i] - kFirstTranslated];
    if (Unprintable(record[i])) record[i] = 0x20;
  }
}

}  // namespace orgalink::store
