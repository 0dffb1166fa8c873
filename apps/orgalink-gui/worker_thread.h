#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "platform/message_queue.h"

namespace orgalink::gui {

// The thread on which a dialog runs one communication or detection. The
// dialog's only message to it, the abort request, goes into the thread's own
// message queue, where every wait of the link finds it.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `job` on a new thread and returns once that thread's queue
  // exists, so that a message posted afterwards is never lost. A previous
  // job must have finished. False when no thread could be made.
  bool Start(std::function<void()> job);

  bool Started() const { return queue_ != nullptr; }

  // Posts into the worker's queue; nothing happens before Start succeeded.
  void Post(const platform::Message& message);

  // Waits for the job to return.
  void Join();

 private:
  std::thread thread_;
  std::shared_ptr<platform::MessageQueue> queue_;
};

}  // namespace orgalink::gui
