// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "link/front_end.h"

namespace orgalink::bench {

// Stands in for the progress dialog: it keeps nothing of the progress but the
// moment the first application's records begin to move, which is when an
// abort run lets its timer start. Questions answer as a user who cancels
// would, so that a failed archive write ends the run instead of asking again.
class BenchOwner final : public link::ProgressSink, public link::Prompter {
 public:
  link::FrontEnd Front() { return {this, this}; }

  void Report(const link::ProgressEvent& event) override;
  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

  // Blocks until records move (true) or `limit` has passed (false).
  bool WaitForTransfer(std::chrono::milliseconds limit);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool transferring_ = false;
};

}  // namespace orgalink::bench
