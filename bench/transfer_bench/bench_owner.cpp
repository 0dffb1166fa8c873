// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_owner.h"

#include <cstdio>

namespace orgalink::bench {

namespace {

void Print(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
}

}  // namespace

void BenchOwner::Report(const link::ProgressEvent& event) {
  if (event.kind != link::ProgressKind::Status || event.scope != link::ProgressScope::Application) {
    return;
  }
  {
    std::lock_guard<std::mutex> guard(mutex_);
    transferring_ = true;
  }
  changed_.notify_all();
}

bool BenchOwner::RetryOrCancel(const std::string& text, const link::Cause& /*cause*/,
                               const std::string& caption) {
  Print(text, caption);
  return false;
}

void BenchOwner::Inform(const std::string& text, const std::string& caption) {
  Print(text, caption);
}

bool BenchOwner::Confirm(const std::string& text, const std::string& caption) {
  Print(text, caption);
  return false;
}

bool BenchOwner::WaitForTransfer(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, limit, [this] { return transferring_; });
}

}  // namespace orgalink::bench
