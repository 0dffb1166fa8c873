// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/code_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>

#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Bytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string kShippedTables = std::string(ORGALINK_SOURCE_DIR) + "/data/";

Bytes Iota(std::size_t size, std::uint8_t first) {
  Bytes bytes(size);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

bool AllSpaces(const CodeTable& table, std::size_t from = 0) {
  return std::all_of(table.begin() + from, table.end(), [](std::uint8_t b) { return b == 0x20; });
}

TEST(CodeTables, ShortFileFillsEachTableOnlyAsFarAsItReaches) {
  TempDir dir;
  WriteBytes(dir.File("code.dat"), Iota(200, 1));
  CodeTable outgoing{}, incoming{};
  EXPECT_EQ(LoadCodeTables(dir.Dir(), outgoing, incoming), 0);
  CodeTable store_outgoing{}, store_incoming{};
  LoadStoreCodeTables(dir.Dir(), store_outgoing, store_incoming);
  for (const CodeTable* in : {&incoming, &store_incoming}) {
    EXPECT_EQ((*in)[0], 129);
    EXPECT_EQ((*in)[71], 200);
    EXPECT_TRUE(AllSpaces(*in, 72));
  }
  EXPECT_EQ(outgoing[0], 1);
  EXPECT_EQ(outgoing[127], 128);
  EXPECT_EQ(store_outgoing, outgoing);
}

TEST(CodeTables, MissingFilesLeaveTheDefaults) {
  TempDir dir;
  CodeTable outgoing, incoming;
  outgoing.fill(7);
  incoming.fill(7);
  EXPECT_EQ(LoadCodeTables(dir.Dir(), outgoing, incoming), 0);
  EXPECT_TRUE(AllSpaces(outgoing) && AllSpaces(incoming));
  outgoing.fill(7);
  incoming.fill(7);
  LoadStoreCodeTables(dir.Dir(), outgoing, incoming);
  EXPECT_TRUE(AllSpaces(outgoing) && AllSpaces(incoming));

  SortTable weights, second;
  weights.fill(9);
  second.fill(8);
  EXPECT_EQ(LoadSortTables(dir.Dir(), weights, second), 0);
  EXPECT_TRUE(std::all_of(weights.begin(), weights.end(), [](auto w) { return w == 9; }));
  EXPECT_TRUE(std::all_of(second.begin(), second.end(), [](auto w) { return w == 8; }));
}

TEST(CodeTables, ShortSortFileChangesOnlyTheEntriesItReaches) {
  TempDir dir;
  WriteBytes(dir.File("sort.dat"), Iota(300, 0));
  SortTable weights, second;
  weights.fill(0xEE);
  second.fill(0xEE);
  EXPECT_EQ(LoadSortTables(dir.Dir(), weights, second), 0);
  EXPECT_EQ(weights[255], 255);
  EXPECT_EQ(second[43], 43);  // file byte 299
  EXPECT_EQ(second[44], 0xEE);
}

// The shipped tables: complete, inverse where a mapping exists, and never
// producing the terminator or a code the organizer cannot show.
TEST(ShippedTables, CodeTablesAreInversesAndSafe) {
  CodeTable outgoing{}, incoming{};
  ASSERT_EQ(LoadCodeTables(kShippedTables, outgoing, incoming), 1);
  for (int organizer = 0x7F; organizer <= 0xBF; ++organizer) {
    const std::uint8_t computer = incoming[organizer - 0x7F];
    ASSERT_GE(computer, 0xA0) << organizer;
    ASSERT_LE(computer, 0xFE) << organizer;
    EXPECT_EQ(outgoing[computer - 0x7F], organizer) << organizer;
  }
  EXPECT_TRUE(AllSpaces(incoming, 0xC0 - 0x7F));
  for (const std::uint8_t code : outgoing) {
    EXPECT_TRUE(code == 0x20 || (code > 0x20 && code <= 0xBF)) << int(code);
  }
  EXPECT_EQ(outgoing[0xE9 - 0x7F] >= 0x7F, true);  // e acute has an organizer code
  EXPECT_EQ(outgoing[0xDD - 0x7F], 'Y');           // Y acute falls back to its base letter
}

TEST(ShippedTables, WeightsOrderSpacePunctuationDigitsLetters) {
  SortTable weights{}, second{};
  ASSERT_EQ(LoadSortTables(kShippedTables, weights, second), 1);
  const auto w = [&](std::uint8_t b) { return weights[b]; };
  EXPECT_LT(w(' '), w('!'));
  EXPECT_LT(w('~'), w('0'));
  EXPECT_LT(w(0xA3), w('0'));  // pound sign
  EXPECT_LT(w('9'), w('A'));
  EXPECT_LT(w('A'), w('b'));
  EXPECT_LT(w('y'), w('Z'));
  for (const auto& [accented, base] : {std::pair{0xE9, 'e'},
                                       {0xC9, 'E'},
                                       {0xC5, 'a'},
                                       {0xF1, 'N'},
                                       {0xDF, 'S'},
                                       {0xD8, 'o'},
                                       {0xE7, 'C'},
                                       {'q', 'Q'}}) {
    EXPECT_EQ(w(static_cast<std::uint8_t>(accented)), w(static_cast<std::uint8_t>(base)))
        << accented;
  }
}

}  // namespace
}  // namespace orgalink::store
