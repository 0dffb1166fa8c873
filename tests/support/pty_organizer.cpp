// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pty_organizer.h"

#include <chrono>
#include <thread>

#include "link/command_code.h"
#include "support/line_fixture.h"

namespace orgalink::testsupport {

bool OfferLinkOnPty(Pty& pty, int tries) {
  for (int i = 0; i < tries; ++i) {
    pty.Read(4096, 0);  // whatever the line discipline echoed so far
    pty.Write(CommandFrame(5));
    const auto offered = std::chrono::steady_clock::now();
    if (pty.Read(5, 300) == CommandFrame(6)) return true;
    // Until the program opens its side the master reports a hang-up at once
    // instead of waiting; keep the offers paced like the organizer's.
    std::this_thread::sleep_until(offered + std::chrono::milliseconds(300));
  }
  return false;
}

bool NegotiateOnPty(Pty& pty, Variant variant) {
  if (!OfferLinkOnPty(pty)) return false;
  const std::uint8_t low = variant == Variant::M ? 1 : 0;
  pty.Write(CommandFrame(link::DEVICE_INFORMATION, low, 2));
  if (pty.Read(5) != CommandFrame(link::GET_DEVICE_INFORMATION)) return false;
  if (variant == Variant::M) pty.Write(CommandFrame(link::DEVICE_INFORMATION, low, 2));
  return true;
}

}  // namespace orgalink::testsupport
