// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/sort_keys.h"

#include <cstring>

namespace orgalink::transfer {

namespace {
constexpr std::uint8_t kFirstTranslated = 0x7F;
constexpr std::uint8_t kLastTranslated = 0xFE;
constexpr std::uint8_t kSpace = 0x20;

int Weight(const store::SortTable* weights, std::uint8_t byte) {
  return weights != nullptr ? (*weights)[byte] : 0;
}

std::size_t KeyLength(const std::uint8_t* key) {
  return std::strlen(reinterpret_cast<const char*>(key));
}
}  // namespace

int CompareSortKeys(const std::uint8_t* a, const std::uint8_t* b, const store::SortTable* weights) {
  const std::size_t lengthA = KeyLength(a);
  const std::size_t lengthB = KeyLength(b);
  const std::size_t shorter = lengthA < lengthB ? lengthA : lengthB;
  for (std::size_t i = 0; i < shorter; ++i) {
    const int weightA = Weight(weights, a[i]);
    const int weightB = Weight(weights, b[i]);
    if (weightA != weightB) return weightA < weightB ? -1 : 1;
  }
  if (lengthA == lengthB) return 0;
  return lengthA < lengthB ? -1 : 1;
}

void TranslateCodes(std::span<std::uint8_t> key, const store::CodeTable* codeTable) {
  for (std::uint8_t& v : key) {
    if (v < kFirstTranslated || v > kLastTranslated) continue;
    v = codeTable != nullptr ? (*codeTable)[v - kFirstTranslated] : kSpace;
  }
}

}  // namespace orgalink::transfer
