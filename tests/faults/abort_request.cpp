#include "abort_request.h"

#include "link/messages.h"

namespace orgalink::faulttest {

void WatchingOwner::Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  RecordingOwner::Post(message, wparam, lparam);
  if (watcher_) watcher_(message, wparam, lparam);
}

AbortRequest::AbortRequest(Abort abort, std::uint64_t abort_byte, testsupport::LineFixture& f,
                           WatchingOwner& owner, platform::VirtualLine& line)
    : f_(f), line_(line) {
  switch (abort) {
    case Abort::Never:
      break;
    case Abort::WhileWaiting:
      owner.Watch([this](std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
        if (message == link::WM_LINK_STATUS && wparam == 0 && lparam == link::NegotiationScope)
          Later(kPatienceMs);
      });
      break;
    case Abort::AfterARecord:
      owner.Watch([this](std::uint32_t message, std::uint32_t, std::int32_t lparam) {
        if (message == link::WM_LINK_PROGRESS && lparam == link::TelephoneScope) Now();
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
