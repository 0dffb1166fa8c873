// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/pty.h"

namespace orgalink::testsupport {

// The organizer's opening on the master side of a pseudo-terminal: offers
// LINK_REQUEST every 300 ms until the PC answers ACK. Bytes written before the
// program has opened (and purged) its side are lost or echoed by the default
// line discipline, hence the repeated offers. True once the ACK came.
bool OfferLinkOnPty(Pty& pty, int tries = 50);

// The organizer's whole side of the PC's negotiation: the offers, then
// DEVICE_INFORMATION. An M answers the PC's variant probe; an E leaves it
// unanswered, and the PC waits its one second before it goes on. False when
// the PC never took the offer.
enum class Variant { E, M };
bool NegotiateOnPty(Pty& pty, Variant variant);

}  // namespace orgalink::testsupport
