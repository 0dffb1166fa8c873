#include "platform/message_queue.h"

#include <sys/eventfd.h>

#include <algorithm>

namespace orgalink::platform {

// The descriptor is an eventfd in semaphore mode whose counter always equals
// the number of queued messages: each Post adds one, each Take reads one.
MessageQueue::MessageQueue() : wake_fd_(eventfd(0, EFD_SEMAPHORE | EFD_NONBLOCK | EFD_CLOEXEC)) {}

MessageQueue::~MessageQueue() = default;

void MessageQueue::Post(const Message& message) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    messages_.push_back(message);
    eventfd_write(wake_fd_.Get(), 1);
  }
  std::vector<std::shared_ptr<ClockLink>> watchers;
  {
    std::lock_guard<std::mutex> guard(watchers_mutex_);
    watchers = watchers_;
  }
  // Outside the queue's lock: a waiter holds its clock's lock while it looks
  // at this queue.
  for (const std::shared_ptr<ClockLink>& watcher : watchers) watcher->Notify();
}

std::optional<Message> MessageQueue::Take() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (messages_.empty()) return std::nullopt;
  Message message = messages_.front();
  messages_.pop_front();
  eventfd_t one = 0;
  eventfd_read(wake_fd_.Get(), &one);
  return message;
}

bool MessageQueue::HasMessage() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return !messages_.empty();
}

int MessageQueue::WakeFd() const {
  return wake_fd_.Get();
}

void MessageQueue::Watch(Clock& clock) {
  std::lock_guard<std::mutex> guard(watchers_mutex_);
  // A thread's queue lives as long as the thread and sees many short-lived
  // clocks (one per test, say); forget those that are gone.
  std::erase_if(watchers_,
                [](const std::shared_ptr<ClockLink>& watcher) { return watcher->Cut(); });
  for (const std::shared_ptr<ClockLink>& watcher : watchers_) {
    if (watcher->Leads(clock)) return;
  }
  watchers_.push_back(clock.Link());
}

bool MessageQueue::WaitMessage(Clock& clock, Tick deadline) {
  Watch(clock);
  std::unique_lock<std::mutex> lock(clock.Mutex());
  return clock.WaitUntil(
      lock, [this] { return HasMessage(); }, deadline);
}

std::shared_ptr<MessageQueue> CurrentThreadQueue() {
  thread_local std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
  return queue;
}

}  // namespace orgalink::platform
