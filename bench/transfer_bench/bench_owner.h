#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "link/link_owner.h"

namespace orgalink::bench {

// Stands in for the progress dialog: it keeps nothing of the progress but the
// moment the first application's records begin to move, which is when an
// abort run lets its timer start. Message boxes answer as a user who cancels
// would, so that a failed archive write ends the run instead of asking again.
class BenchOwner final : public link::LinkOwner {
 public:
  void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  void Send(std::uint32_t, std::uint32_t, std::int32_t) override {}
  int ShowMessage(const std::string& text, const std::string& caption,
                  link::MessageBoxKind kind) override;
  std::string Title() const override { return "transfer_bench"; }
  void SetTitle(const std::string&) override {}

  // Blocks until records move (true) or `limit` has passed (false).
  bool WaitForTransfer(std::chrono::milliseconds limit);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool transferring_ = false;
};

}  // namespace orgalink::bench
