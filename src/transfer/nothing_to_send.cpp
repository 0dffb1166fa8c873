// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/nothing_to_send.h"

namespace orgalink::transfer {

link::Cause NothingToSend(const link::LinkEngine& engine) {
  if (!engine.Link().IsPortOpen())
    return link::Cause::System("using the port", 0, "the port is not open");
  return link::Cause::WrongData("record stream", -1, -1, "there are no records to send");
}

}  // namespace orgalink::transfer
