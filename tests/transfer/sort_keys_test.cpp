// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/sort_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "transfer/receive_progress.h"

namespace orgalink::transfer {
namespace {

const std::uint8_t* Key(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.c_str());
}

// Weights that put 'b' before 'a' and let 'x' and 'y' weigh the same.
store::SortTable TestWeights() {
  store::SortTable weights{};
  for (int i = 0; i < 256; ++i) weights[i] = static_cast<std::uint8_t>(i / 2);
  weights['a'] = 60;
  weights['b'] = 50;
  weights['x'] = weights['y'] = 70;
  weights[0xC0] = 200;
  return weights;
}

TEST(CompareSortKeys, OrdersByWeightThenLength) {
  const store::SortTable weights = TestWeights();
  const struct {
    std::string a, b;
    int expected;
  } cases[] = {
      {"b", "a", -1},  {"a", "b", 1},   {"ab", "ab", 0},  {"x", "y", 0},
      {"ax", "ay", 0}, {"a", "ab", -1}, {"ab", "a", 1},   {"", "", 0},
      {"", "a", -1},   {"ba", "a", -1}, {"\xC0", "a", 1},  // high bytes and weights stay unsigned
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareSortKeys(Key(c.a), Key(c.b), &weights), c.expected) << c.a << " / " << c.b;
  }
}

TEST(CompareSortKeys, WithoutWeightsOnlyLengthCounts) {
  EXPECT_EQ(CompareSortKeys(Key("zz"), Key("ab"), nullptr), 0);
  EXPECT_EQ(CompareSortKeys(Key("z"), Key("ab"), nullptr), -1);
  EXPECT_EQ(CompareSortKeys(Key("abc"), Key("ab"), nullptr), 1);
}

TEST(TranslateCodes, ReplacesOnlyTheUpperCodes) {
  store::CodeTable table{};
  for (int i = 0; i < 128; ++i) table[i] = static_cast<std::uint8_t>(0x41 + i % 26);
  std::uint8_t key[] = {0x7E, 0x7F, 0x80, 0xFE, 0xFF, 0x30, 0x81};
  TranslateCodes(std::span(key).first(6), &table);
  const std::uint8_t expected[] = {0x7E, 0x41, 0x42, 0x41 + 127 % 26, 0xFF, 0x30, 0x81};
  EXPECT_TRUE(std::equal(std::begin(key), std::end(key), std::begin(expected)));

  std::uint8_t noTable[] = {0x41, 0x90, 0xFE, 0xFF};
  TranslateCodes(noTable, nullptr);
  const std::uint8_t spaces[] = {0x41, 0x20, 0x20, 0xFF};
  EXPECT_TRUE(std::equal(std::begin(noTable), std::end(noTable), std::begin(spaces)));
}

TEST(ReceiveProgressPosition, FillsHalfTheBarIn200RecordsAndTheRestIn720) {
  const struct {
    int n, position;
  } cases[] = {{1, 0}, {2, 0},    {3, 0},    {4, 1},     {5, 1},      {6, 1},     {7, 1},
               {8, 2}, {200, 50}, {215, 51}, {920, 100}, {1000, 105}, {2000, 175}};
  for (const auto& c : cases) EXPECT_EQ(ReceiveProgressPosition(c.n), c.position) << c.n;
}

}  // namespace
}  // namespace orgalink::transfer
