// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/result_order.h"

#include <gtest/gtest.h>

namespace orgalink::testsupport {

using platform::CancelToken;
using platform::WaitResult;

void ExpectResultOrder(platform::SerialPort& port, platform::Tick passed,
                       const std::function<void()>& hang_up, bool kept_after_hang_up) {
  const CancelToken& none = CancelToken::Never();
  CancelToken cancelled;
  cancelled.Set();
  // The bytes are there: a deadline already passed does not undo that.
  EXPECT_EQ(port.WaitInput(3, passed, none), WaitResult::Ready);
  EXPECT_EQ(port.WaitInput(4, passed, none), WaitResult::Timeout);
  // A set token comes first, before any byte is written.
  EXPECT_EQ(port.WaitInput(3, passed, cancelled), WaitResult::Cancelled);
  std::size_t written = 0;
  const std::uint8_t byte = 'x';
  EXPECT_EQ(port.Write(&byte, 1, written, passed, cancelled), WaitResult::Cancelled);
  EXPECT_EQ(written, 0u);
  hang_up();
  EXPECT_EQ(port.WaitInput(4, passed, cancelled), WaitResult::Cancelled);
  EXPECT_EQ(port.WaitInput(4, passed, none), WaitResult::Error);
  EXPECT_EQ(port.WaitInput(3, passed, none),
            kept_after_hang_up ? WaitResult::Ready : WaitResult::Error);
  EXPECT_EQ(port.Write(&byte, 1, written, passed, none), WaitResult::Error);
}

}  // namespace orgalink::testsupport
