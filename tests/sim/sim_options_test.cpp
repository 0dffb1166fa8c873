// SPDX-License-Identifier: GPL-3.0-or-later
// Port names and fault texts, as the command line will give them.

#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace orgalink::sim {
namespace {

TEST(SimOptions, PortNamesSelectTheVariant) {
  EXPECT_EQ(VariantFromPortName("sim"), SimVariant::M);
  EXPECT_EQ(VariantFromPortName("sim:E"), SimVariant::E);
  EXPECT_EQ(VariantFromPortName("sim:E+"), SimVariant::EPlus);
  EXPECT_EQ(VariantFromPortName("sim:M"), SimVariant::M);
  for (const char* other : {"simulator", "sim:", "sim:X", "/dev/ttyS0", "COM1"}) {
    EXPECT_EQ(VariantFromPortName(other), std::nullopt) << other;
  }
}

TEST(SimOptions, FaultTextsSetOneFaultEach) {
  SimFaults faults;
  std::string error;
  for (const char* text :
       {"checksum:3", "nack:4", "silence:5", "hangup:6", "noise:7", "slow:250", "drop:8"}) {
    EXPECT_TRUE(ParseFault(text, faults, error)) << text;
  }
  EXPECT_EQ(faults, (SimFaults{3, 4, 5, 6, 7, 250, 8}));
  for (const char* bad : {"checksum", "checksum:", "checksum:x", "slow:-1", "flood:3"}) {
    EXPECT_FALSE(ParseFault(bad, faults, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos);
  }
}

}  // namespace
}  // namespace orgalink::sim
