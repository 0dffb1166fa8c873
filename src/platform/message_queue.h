#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/unique_fd.h"

namespace orgalink::platform {

// A thread message: number and two parameters, as posted between the
// dialogs and their worker threads.
struct Message {
  std::uint32_t id = 0;
  std::uint32_t wparam = 0;
  std::int32_t lparam = 0;
};

// The message queue of one thread. Any thread may post into it; only the
// owning thread takes messages out. Waits of the link layer wake up when a
// message arrives, either through WakeFd() in poll() or through the clocks
// registered with Watch().
class MessageQueue {
 public:
  MessageQueue();
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  void Post(const Message& message);

  // Removes and returns the oldest message, if any.
  std::optional<Message> Take();

  bool HasMessage() const;

  // A descriptor that polls readable exactly while a message is pending.
  int WakeFd() const;

  // Makes Post notify `clock`'s waiters as well. Idempotent.
  void Watch(Clock& clock);

  // Blocks until a message is pending (true) or `deadline` has expired on
  // `clock` (false). Does not take the message.
  bool WaitMessage(Clock& clock, Tick deadline);

 private:
  mutable std::mutex mutex_;  // taken inside a clock's lock: nothing else under it
  std::deque<Message> messages_;
  std::mutex watchers_mutex_;  // taken before a clock link's lock and the clock's
  std::vector<std::shared_ptr<ClockLink>> watchers_;
  UniqueFd wake_fd_;
};

// The queue of the calling thread, created on first use. Hand the pointer to
// other threads so that they can post into it.
std::shared_ptr<MessageQueue> CurrentThreadQueue();

}  // namespace orgalink::platform
