// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <utility>

#include "sim/organizer_contents.h"

namespace orgalink::sim {

// The organizer's contents, changed by its own thread and read by anyone.
class SharedContents {
 public:
  explicit SharedContents(OrganizerContents contents) : contents_(std::move(contents)) {}

  template <typename Reader>
  auto Read(Reader read) const {
    std::lock_guard<std::mutex> guard(mutex_);
    return read(static_cast<const OrganizerContents&>(contents_));
  }

  template <typename Changer>
  void Change(Changer change) {
    std::lock_guard<std::mutex> guard(mutex_);
    change(contents_);
  }

 private:
  mutable std::mutex mutex_;
  OrganizerContents contents_;
};

}  // namespace orgalink::sim
