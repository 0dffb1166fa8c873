// SPDX-License-Identifier: GPL-3.0-or-later
// RunMode 9: one application's records sent in a communication of their own.

#include "operations/send_one_appli.h"

#include "operations/operation_steps.h"
#include "operations/send_appli.h"

namespace orgalink::operations {

using link::StepResult;

StepResult SendOneAppli(RunContext& run, link::ProgressSink* progress) {
  link::LinkEngine& engine = run.engine;
  StepResult status = NegotiateIfFull(engine, progress, transfer::PcFull);
  if (status != link::LinkOk) return status;
  status = SendAppli(run, progress, transfer::PcFull);
  if (status != link::LinkOk) return status;
  return engine.SendCommand(link::END_COMMUNICATION);
}

}  // namespace orgalink::operations
