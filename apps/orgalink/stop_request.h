// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <optional>

#include "platform/interrupt_signals.h"

namespace orgalink::cli {

// Which signal asked the run to stop, if any; the first one counts.
class StopRequest {
 public:
  void Note(platform::InterruptKind kind) {
    int none = kNone;
    kind_.compare_exchange_strong(none, static_cast<int>(kind));
  }
  std::optional<platform::InterruptKind> Kind() const {
    const int kind = kind_.load();
    if (kind == kNone) return std::nullopt;
    return static_cast<platform::InterruptKind>(kind);
  }

 private:
  static constexpr int kNone = -1;
  std::atomic<int> kind_{kNone};
};

}  // namespace orgalink::cli
