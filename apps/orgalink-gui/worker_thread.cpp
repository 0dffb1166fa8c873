#include "worker_thread.h"

#include <future>
#include <system_error>

namespace orgalink::gui {

WorkerThread::~WorkerThread() {
  Join();
}

void WorkerThread::Join() {
  if (thread_.joinable()) thread_.join();
}

bool WorkerThread::Start(std::function<void()> job) {
  Join();
  queue_.reset();
  std::promise<std::shared_ptr<platform::MessageQueue>> queue_promise;
  std::future<std::shared_ptr<platform::MessageQueue>> queue_future = queue_promise.get_future();
  try {
    // The promise moves into the thread, which thus owns it for as long as
    // it may still touch it.
    thread_ = std::thread([promise = std::move(queue_promise), job = std::move(job)]() mutable {
      promise.set_value(platform::CurrentThreadQueue());
      job();
    });
  } catch (const std::system_error&) {
    return false;
  }
  queue_ = queue_future.get();
  return true;
}

void WorkerThread::Post(const platform::Message& message) {
  if (queue_ != nullptr) queue_->Post(message);
}

}  // namespace orgalink::gui
