// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/hex_text.h"

namespace orgalink::store {

namespace {

int DigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

}  // namespace

std::string ToHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

bool FromHex(std::string_view hex, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::size_t i = 0;
  while (i < hex.size()) {
    if (hex[i] == ' ') {
      ++i;
      continue;
    }
    const int high = DigitValue(hex[i]);
    const int low = i + 1 < hex.size() ? DigitValue(hex[i + 1]) : -1;
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    i += 2;
  }
  return true;
}

}  // namespace orgalink::store
