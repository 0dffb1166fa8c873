// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/packet_cut.h"

#include <gtest/gtest.h>

#include <vector>

#include "transfer/appli_code.h"

namespace orgalink::transfer {
namespace {

std::vector<PacketCut> CutAll(int size) {
  std::vector<PacketCut> cuts;
  for (int offset = 0; offset < size;) {
    cuts.push_back(NextPacketCut(size, offset));
    offset += cuts.back().length;
  }
  return cuts;
}

TEST(NextPacketCut, CutsRecordsAt241Then252) {
  const struct {
    int size;
    std::vector<std::pair<int, int>> packets;  // length, position
  } cases[] = {
      {1, {{1, 0x00}}},
      {241, {{241, 0x00}}},
      {242, {{241, 0x00}, {1, 0xA0}}},
      {300, {{241, 0x00}, {59, 0xA0}}},
      {493, {{241, 0x00}, {252, 0xA0}}},
      {745, {{241, 0x00}, {252, 0xF0}, {252, 0xA0}}},
      {746, {{241, 0x00}, {252, 0xF0}, {252, 0xF0}, {1, 0xA0}}},
  };
  for (const auto& c : cases) {
    const auto cuts = CutAll(c.size);
    ASSERT_EQ(cuts.size(), c.packets.size()) << c.size;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
      EXPECT_EQ(cuts[i].length, c.packets[i].first) << c.size << " packet " << i;
      EXPECT_EQ(cuts[i].position, c.packets[i].second) << c.size << " packet " << i;
    }
  }
}

TEST(AppliCode, PassesApplicationsAndMarksEverythingElse) {
  for (int kind = 0; kind <= 6; ++kind) EXPECT_EQ(AppliCode(kind), kind);
  EXPECT_EQ(AppliCode(255), 0xFF);
  EXPECT_EQ(AppliCode(7), 0xFF);
  EXPECT_EQ(AppliCode(-1), 0xFF);
  EXPECT_TRUE(IsAppliCode(0));
  EXPECT_TRUE(IsAppliCode(6));
  EXPECT_FALSE(IsAppliCode(7));
  EXPECT_FALSE(IsAppliCode(0x7F));
  EXPECT_FALSE(IsAppliCode(0xFF));
}

}  // namespace
}  // namespace orgalink::transfer
