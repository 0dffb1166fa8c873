// SPDX-License-Identifier: GPL-3.0-or-later
// The order check of Telephone records from the base organizer model.

#include "transfer/telephone_order.h"

#include <gtest/gtest.h>

#include <string>

namespace orgalink::transfer {
namespace {

// A Telephone record: one leading byte, then the name that is its sort key.
bool InOrder(const std::string& name, bool compare, const store::SortTable& weights,
             const store::CodeTable& incoming) {
  const std::string record = "\x01" + name;
  return TelephoneKeyInOrder(
      std::span(reinterpret_cast<const std::uint8_t*>(record.data()), record.size()), compare,
      &weights, &incoming);
}

// A failing key ends the transfer; it must not become the key the next
// record is compared with.
TEST(TelephoneOrder, OnlyAPassingKeyIsRemembered) {
  store::SortTable weights{};
  for (int i = 0; i < 256; ++i) weights[i] = static_cast<std::uint8_t>(i);
  const store::CodeTable incoming{};
  ResetPreviousTelephoneKey();
  EXPECT_TRUE(InOrder("Carl", false, weights, incoming));
  EXPECT_FALSE(InOrder("Adam", true, weights, incoming));
  EXPECT_FALSE(InOrder("Bert", true, weights, incoming));  // still after "Carl"
  EXPECT_TRUE(InOrder("Dora", true, weights, incoming));
  ResetPreviousTelephoneKey();
}

}  // namespace
}  // namespace orgalink::transfer
