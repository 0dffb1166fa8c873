#pragma once

#include "support/pty.h"

namespace orgalink::testsupport {

// The organizer's opening on the master side of a pseudo-terminal: offers
// LINK_REQUEST every 300 ms until the PC answers ACK. Bytes written before the
// program has opened (and purged) its side are lost or echoed by the default
// line discipline, hence the repeated offers. True once the ACK came.
bool OfferLinkOnPty(Pty& pty, int tries = 50);

}  // namespace orgalink::testsupport
