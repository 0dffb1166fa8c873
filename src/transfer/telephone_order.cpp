// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/telephone_order.h"

#include <array>
#include <cstring>

#include "transfer/sort_keys.h"

namespace orgalink::transfer {

namespace {
constexpr int kMaxKey = 49;
using Key = std::array<std::uint8_t, kMaxKey + 1>;  // always zero-terminated

// Only one communication runs at a time, so the key needs no lock.
Key& PreviousKey() {
  static Key key{};
  return key;
}

Key KeyOf(std::span<const std::uint8_t> record) {
  Key key{};
  for (std::size_t i = 1; i < record.size() && i <= kMaxKey && record[i] != 0; ++i) {
    key[i - 1] = record[i];
  }
  return key;
}
}  // namespace

bool TelephoneKeyInOrder(std::span<const std::uint8_t> record, bool compare,
                         const store::SortTable* weights, const store::CodeTable* incoming) {
  Key key = KeyOf(record);
  TranslateCodes(std::span(key).first(std::strlen(reinterpret_cast<char*>(key.data()))), incoming);
  if (compare && CompareSortKeys(key.data(), PreviousKey().data(), weights) < 0) return false;
  PreviousKey() = key;
  return true;
}

void ResetPreviousTelephoneKey() {
  PreviousKey() = Key{};
}

}  // namespace orgalink::transfer
