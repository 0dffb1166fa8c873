// SPDX-License-Identifier: GPL-3.0-or-later
#include "abort_request.h"

namespace orgalink::faulttest {

void WatchingOwner::Report(const link::ProgressEvent& event) {
  RecordingOwner::Report(event);
  if (watcher_) watcher_(event);
}

AbortRequest::AbortRequest(Abort abort, std::uint64_t abort_byte, testsupport::LineFixture& f,
                           WatchingOwner& owner, platform::VirtualLine& line)
    : f_(f), line_(line) {
  switch (abort) {
    case Abort::Never:
      break;
    case Abort::WhileWaiting:
      owner.Watch([this](const link::ProgressEvent& event) {
        if (event ==
            link::ProgressEvent{link::ProgressKind::Status, 0, link::ProgressScope::Negotiation}) {
          Later(kPatienceMs);
        }
      });
      break;
    case Abort::AfterARecord:
      owner.Watch([this](const link::ProgressEvent& event) {
        if (event.kind == link::ProgressKind::Progress &&
            event.scope == link::ProgressScope::Telephone) {
          Now();
        }
      });
      break;
    case Abort::WhilePcSends:
      line.SetFaultHook(
          [this, abort_byte](platform::VirtualLine::End from, std::uint64_t index, std::uint8_t) {
            if (from == platform::VirtualLine::End::A && index == abort_byte) Now();
            return platform::VirtualLine::Fault{};
          });
      break;
  }
}

AbortRequest::~AbortRequest() {
  line_.SetFaultHook({});
}

void AbortRequest::Now() {
  if (at_) return;
  at_ = f_.clock.Now();
  f_.abort.Set();
}

void AbortRequest::Later(std::uint32_t ms) {
  if (at_) return;
  at_ = f_.clock.Now() + ms;
  f_.AbortAt(*at_);
}

}  // namespace orgalink::faulttest
