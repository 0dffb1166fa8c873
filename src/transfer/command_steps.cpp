// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/command_steps.h"

namespace orgalink::transfer {

link::StepResult SendLogged(link::LinkEngine& engine, int code, const char* sentLine) {
  const link::StepResult sent = engine.SendCommand(code);
  if (sent != link::LinkOk) return sent;
  engine.Log().Line(sentLine);
  return link::LinkOk;
}

link::StepResult AwaitAck(link::LinkEngine& engine) {
  const link::StepResult waited = engine.WaitCommand(link::ACK);
  if (waited != link::LinkOk) {
    engine.Log().Line("!!!ACK Receive Err\n\n");
    return waited;
  }
  engine.Log().Line("---PC receives ACK\n\n");
  return link::LinkOk;
}

}  // namespace orgalink::transfer
