// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <thread>

class QAbstractEventDispatcher;

namespace orgalink::gui {

// The thread on which a dialog runs one communication or detection. The
// dialog stops it through the cancel token it handed the job's engine.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `job` on a new thread. A previous job must have finished. False
  // when no thread could be made.
  bool Start(std::function<void()> job);

  bool Started() const { return thread_.joinable(); }

  // Waits for the job to return. Meanwhile the calling thread goes on
  // serving its events: the job may be waiting for it to show a box or
  // answer about the title, and would otherwise never return.
  void Join();

 private:
  std::thread thread_;
  std::atomic<bool> running_{false};
  // The event dispatcher of the thread that started the job, woken when
  // the job returns.
  QAbstractEventDispatcher* starter_ = nullptr;
};

}  // namespace orgalink::gui
