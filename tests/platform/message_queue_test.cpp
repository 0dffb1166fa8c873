#include "platform/message_queue.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>

namespace orgalink::platform {
namespace {

bool Readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

TEST(MessageQueueTest, PostFromAnotherThreadWakesTheWaitAndTheDescriptor) {
  std::shared_ptr<MessageQueue> queue = CurrentThreadQueue();
  SystemClock& clock = SystemClock::Instance();
  std::thread poster([queue] { queue->Post({1127, 2, -3}); });
  EXPECT_TRUE(queue->WaitMessage(clock, Deadline(clock, 60000)));
  poster.join();
  EXPECT_TRUE(Readable(queue->WakeFd()));
  std::optional<Message> message = queue->Take();
  ASSERT_TRUE(message);
  EXPECT_EQ(message->id, 1127u);
  EXPECT_EQ(message->wparam, 2u);
  EXPECT_EQ(message->lparam, -3);
  EXPECT_FALSE(Readable(queue->WakeFd()));
}

TEST(MessageQueueTest, TakesInOrderAndTheDescriptorFollowsThePendingCount) {
  MessageQueue queue;
  for (std::uint32_t id = 1; id <= 3; ++id) queue.Post({id, 0, 0});
  for (std::uint32_t id = 1; id <= 3; ++id) {
    EXPECT_TRUE(queue.HasMessage());
    EXPECT_TRUE(Readable(queue.WakeFd()));
    EXPECT_EQ(queue.Take()->id, id);
  }
  EXPECT_FALSE(queue.HasMessage());
  EXPECT_FALSE(Readable(queue.WakeFd()));
  EXPECT_FALSE(queue.Take());
}

TEST(MessageQueueTest, EachThreadHasItsOwnQueue) {
  std::shared_ptr<MessageQueue> mine = CurrentThreadQueue();
  EXPECT_EQ(CurrentThreadQueue(), mine);
  std::shared_ptr<MessageQueue> other;
  std::thread([&] { other = CurrentThreadQueue(); }).join();
  EXPECT_NE(other, mine);
}

// A thread's queue outlives the clocks it was watched by; a post after such
// a clock is gone must not touch it.
TEST(MessageQueueTest, PostAfterAWatchedClockIsGoneIsSafe) {
  MessageQueue queue;
  auto clock = std::make_unique<VirtualClock>();
  queue.Watch(*clock);
  clock.reset();
  queue.Post({1, 0, 0});
  VirtualClock next;
  EXPECT_TRUE(queue.WaitMessage(next, Deadline(next, 10)));
}

// A clock may go on one thread while another posts into a queue it watched:
// the post must either wake it before it is gone or leave it alone.
TEST(MessageQueueTest, ClockDestroyedWhileAnotherThreadPostsIsNeverTouched) {
  MessageQueue queue;
  std::atomic<bool> done{false};
  std::thread poster([&] {
    while (!done.load()) {
      queue.Post({1, 0, 0});
      queue.Take();
    }
  });
  for (int round = 0; round < 100000; ++round) {
    auto clock = std::make_unique<VirtualClock>();
    queue.Watch(*clock);
    clock.reset();
  }
  done.store(true);
  poster.join();
}

}  // namespace
}  // namespace orgalink::platform
