#include "support/result_order.h"

#include <gtest/gtest.h>

namespace orgalink::testsupport {

using platform::WaitResult;

void ExpectResultOrder(platform::SerialPort& port, platform::MessageQueue& queue,
                       platform::Tick passed, const std::function<void()>& hang_up,
                       bool kept_after_hang_up) {
  // The bytes are there: a deadline already passed does not undo that.
  EXPECT_EQ(port.WaitInput(3, passed, queue), WaitResult::Ready);
  EXPECT_EQ(port.WaitInput(4, passed, queue), WaitResult::Timeout);
  // A pending message comes first, before any byte is written.
  queue.Post({1127, 0, 0});
  EXPECT_EQ(port.WaitInput(3, passed, queue), WaitResult::Message);
  std::size_t written = 0;
  const std::uint8_t byte = 'x';
  EXPECT_EQ(port.Write(&byte, 1, written, passed, queue), WaitResult::Message);
  EXPECT_EQ(written, 0u);
  hang_up();
  EXPECT_EQ(port.WaitInput(4, passed, queue), WaitResult::Message);
  queue.Take();
  EXPECT_EQ(port.WaitInput(4, passed, queue), WaitResult::Error);
  EXPECT_EQ(port.WaitInput(3, passed, queue),
            kept_after_hang_up ? WaitResult::Ready : WaitResult::Error);
  EXPECT_EQ(port.Write(&byte, 1, written, passed, queue), WaitResult::Error);
}

}  // namespace orgalink::testsupport
