// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/port_holder.h"
#include "platform/serial_port.h"

namespace orgalink::cli {

// The serial device that watch keeps open between communications, with the
// note that tells other commands who holds it. Each communication borrows
// the open port (Lender); between them the port waits in poll() for the
// organizer's LINK_REQUEST, so an idle watch costs no processor time.
class WatchedPort {
 public:
  enum class Wake { LinkRequest, Cancelled, Gone };

  WatchedPort(std::string device, int baud, platform::Clock& clock,
              const platform::CancelToken& cancel);

  const std::string& Device() const { return device_; }

  // Opens the device and writes the holder note; false with the reason,
  // which names the device, in `error`.
  bool Open(std::string& error);
  void Close();

  // Blocks until the organizer offers a link (the start of a LINK_REQUEST
  // frame arrives), the cancel token is set, or the device fails (unplugged,
  // hung up). Other bytes on an idle line are dropped.
  Wake AwaitLinkRequest();

  // Tries to open the device once a second until it opens (true) or the
  // cancel token is set (false). After a loss (`afterLoss`) the first try
  // waits its second too, so that a device that fails as soon as it opens
  // costs one attempt a second rather than a busy loop, and the reason of
  // that first failure (the device missing, as expected) goes untold. A fixed re-check
  // rather than a watch on /dev, because the folder of a stable name
  // (/dev/serial/by-id) goes with the last adapter, and a node that has just
  // appeared may not be ours to open until udev has set its group: a fresh
  // attempt covers both. `note` hears each new reason it does not open.
  bool AwaitReturn(bool afterLoss, const std::function<void(const std::string&)>& note);

  // Hands the open port to one communication without giving it up: the
  // communication's close leaves it open.
  platform::PortOpener Lender();

 private:
  std::string device_;
  int baud_;
  platform::Clock& clock_;
  const platform::CancelToken& cancel_;
  std::unique_ptr<platform::SerialPort> port_;
  std::unique_ptr<platform::PortHolderNote> note_;
  bool afterStart_ = false;
};

}  // namespace orgalink::cli
