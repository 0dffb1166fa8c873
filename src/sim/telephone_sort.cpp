// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/telephone_sort.h"

#include <algorithm>

namespace orgalink::sim {

namespace {

constexpr std::size_t kKeyLimit = 49;
constexpr std::uint8_t kFirstTranslated = 0x7F;
constexpr std::uint8_t kLastTranslated = 0xFE;

}  // namespace

TelephoneSort TelephoneSort::FromDirectory(const std::string& directory) {
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
  store::SortTable weights{};
  store::SortTable second{};
  store::LoadCodeTables(directory, outgoing, incoming);
  store::LoadSortTables(directory, weights, second);
  return TelephoneSort(incoming, weights);
}

// A translated byte may itself be zero, which ends the key as well.
std::vector<std::uint8_t> TelephoneSort::Key(const std::vector<std::uint8_t>& record) const {
  std::vector<std::uint8_t> key;
  for (std::size_t i = 1; i < record.size() && key.size() < kKeyLimit && record[i] != 0; ++i) {
    std::uint8_t byte = record[i];
    if (byte >= kFirstTranslated && byte <= kLastTranslated) {
      byte = incoming_[byte - kFirstTranslated];
      if (byte == 0) break;
    }
    key.push_back(byte);
  }
  return key;
}

bool TelephoneSort::Before(const std::vector<std::uint8_t>& a,
                           const std::vector<std::uint8_t>& b) const {
  const std::vector<std::uint8_t> key_a = Key(a);
  const std::vector<std::uint8_t> key_b = Key(b);
  return std::lexicographical_compare(
      key_a.begin(), key_a.end(), key_b.begin(), key_b.end(),
      [this](std::uint8_t x, std::uint8_t y) { return weights_[x] < weights_[y]; });
}

std::size_t TelephoneSort::InsertionPoint(const std::vector<std::vector<std::uint8_t>>& records,
                                          const std::vector<std::uint8_t>& record) const {
  const auto after = std::upper_bound(
      records.begin(), records.end(), record,
      [this](const std::vector<std::uint8_t>& value, const std::vector<std::uint8_t>& element) {
        return Before(value, element);
      });
  return static_cast<std::size_t>(after - records.begin());
}

}  // namespace orgalink::sim
