// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The user at the progress dialog: sees every event, answers every question
// Cancel, and asks to abort at the moment a fault case names.

#include <cstdint>
#include <functional>
#include <optional>

#include "fault_run.h"
#include "platform/virtual_line.h"
#include "support/line_fixture.h"

namespace orgalink::faulttest {

class WatchingOwner : public testsupport::RecordingOwner {
 public:
  using Watcher = std::function<void(const link::ProgressEvent& event)>;

  WatchingOwner() { SetAnswer(false); }

  void Watch(Watcher watcher) { watcher_ = std::move(watcher); }
  void Report(const link::ProgressEvent& event) override;

 private:
  Watcher watcher_;
};

// The abort request of `abort`, made on the PC's thread: from the owner's
// events, or from the line as the PC's bytes go out. Remembers when it was
// made.
class AbortRequest {
 public:
  AbortRequest(Abort abort, std::uint64_t abort_byte, testsupport::LineFixture& f,
               WatchingOwner& owner, platform::VirtualLine& line);
  ~AbortRequest();
  AbortRequest(const AbortRequest&) = delete;
  AbortRequest& operator=(const AbortRequest&) = delete;

  std::optional<platform::Tick> at() const { return at_; }

 private:
  void Now();
  void Later(std::uint32_t ms);

  testsupport::LineFixture& f_;
  platform::VirtualLine& line_;
  std::optional<platform::Tick> at_;
};

}  // namespace orgalink::faulttest
