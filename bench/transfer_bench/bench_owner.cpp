#include "bench_owner.h"

#include <cstdio>

#include "link/messages.h"

namespace orgalink::bench {

void BenchOwner::Post(std::uint32_t message, std::uint32_t, std::int32_t lparam) {
  if (message != link::WM_LINK_STATUS || lparam != link::ApplicationScope) return;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    transferring_ = true;
  }
  changed_.notify_all();
}

int BenchOwner::ShowMessage(const std::string& text, const std::string& caption,
                            link::MessageBoxKind kind) {
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return kind == link::MessageBoxKind::Ok ? link::IDOK : link::IDCANCEL;
}

bool BenchOwner::WaitForTransfer(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, limit, [this] { return transferring_; });
}

}  // namespace orgalink::bench
