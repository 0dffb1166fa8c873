// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker_thread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <system_error>

namespace orgalink::gui {

WorkerThread::~WorkerThread() {
  Join();
}

void WorkerThread::Join() {
  if (!thread_.joinable()) return;
  if (starter_ != nullptr && QAbstractEventDispatcher::instance() == starter_) {
    while (running_.load()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
  }
  thread_.join();
}

bool WorkerThread::Start(std::function<void()> job) {
  Join();
  starter_ = QAbstractEventDispatcher::instance();
  running_ = true;
  try {
    thread_ = std::thread([this, job = std::move(job)] {
      job();
      running_ = false;
      if (starter_ != nullptr) starter_->wakeUp();
    });
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

}  // namespace orgalink::gui
