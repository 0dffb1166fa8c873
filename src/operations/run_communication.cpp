// SPDX-License-Identifier: GPL-3.0-or-later
// The communication driver: one whole communication per call.

#include "operations/run_communication.h"

#include "link/text_format.h"
#include "operations/run_modes.h"

namespace orgalink::operations {

using link::StepResult;

StepResult RunCommunication(RunContext& run, link::FrontEnd front, settings::RunMode runMode) {
  if (run.store == nullptr || front.progress == nullptr || front.prompter == nullptr) {
    return {link::LinkIoError, link::Cause::WrongData("communication", -1, -1,
                                                      "the communication lacks its store or its "
                                                      "front end")};
  }
  link::LinkEngine& engine = run.engine;
  engine.Log().Line("##### START COMMUNICATION #####\n\n", true);

  StepResult result = link::LinkIoError;
  if (StepResult opened = engine.Link().OpenPort(engine.Link().ComPort()); !opened) {
    engine.Log().Line("!!!Can't Open COM Port\n\n");
    result = std::move(opened);
  } else if (!settings::IsKnownRunMode(runMode)) {
    engine.Log().Line("Unknown RunMode\n\n");
    result = {link::LinkIoError,
              link::Cause::WrongData("RunMode", -1, ToInt(runMode),
                                     link::Format("there is no RunMode %d", ToInt(runMode)))};
  } else {
    result = RunModeSteps(run, front, runMode);
  }

  if (result == link::LinkOk) {
    engine.Link().ClosePort();
    engine.Log().Line("##### END COMMUNICATION #####\n\n");
    return link::LinkOk;
  }
  // The organizer hears the goodbye however often the user asked to stop
  // (a double click on Abort, a second Ctrl-C); each send is still bounded
  // by its own deadlines.
  const link::ByteLink::AbortShield goodbye(engine.Link());
  engine.SendCommand(link::NACK);
  engine.Log().Line("---PC sends NACK\n\n");
  engine.SendCommand(link::END_COMMUNICATION);
  engine.Log().Line("---PC sends END_COMMUNICATION\n\n");
  engine.Link().ClosePort();
  return result;
}

}  // namespace orgalink::operations
