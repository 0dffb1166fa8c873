#include "interruptible.h"

#include <memory>

#include "link/messages.h"
#include "platform/message_queue.h"
#include "stop_request.h"

namespace orgalink::cli {

link::LinkStatus RunInterruptible(const std::function<link::LinkStatus()>& work,
                                  std::optional<platform::InterruptKind>& stop) {
  const std::shared_ptr<platform::MessageQueue> queue = platform::CurrentThreadQueue();
  auto request = std::make_shared<StopRequest>();
  link::LinkStatus status;
  {
    platform::InterruptSignals interrupts([queue, request](platform::InterruptKind kind) {
      request->Note(kind);
      queue->Post({link::WM_LINK_ABORT, 0, 0});
    });
    status = work();
  }
  stop = request->Kind();
  return status;
}

}  // namespace orgalink::cli
