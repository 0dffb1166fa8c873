// The communication driver: one whole communication per call.

#include "operations/run_communication.h"

#include "operations/run_modes.h"

namespace orgalink::operations {

using link::LinkStatus;

LinkStatus RunCommunication(RunContext& run, link::FrontEnd front, RunMode runMode) {
  if (run.store == nullptr || front.progress == nullptr || front.prompter == nullptr) {
    return link::LinkIoError;
  }
  link::LinkEngine& engine = run.engine;
  run.failureCause.clear();
  engine.Log("##### START COMMUNICATION #####\n\n", true);

  LinkStatus result = link::LinkIoError;
  if (!engine.OpenPort(engine.ComPort())) {
    engine.Log("!!!Can't Open COM Port\n\n");
    result = engine.Status();
  } else if (!IsKnownRunMode(runMode)) {
    engine.Log("Unknown RunMode\n\n");
    result = link::LinkIoError;
  } else {
    result = RunModeSteps(run, front, runMode);
  }

  if (result == link::LinkOk) {
    engine.ClosePort();
    engine.Log("##### END COMMUNICATION #####\n\n");
    return link::LinkOk;
  }
  run.failureCause = engine.FailureNotes();
  // The organizer hears the goodbye however often the user asked to stop
  // (a double click on Abort, a second Ctrl-C); each send is still bounded
  // by its own deadlines.
  const link::LinkEngine::AbortShield goodbye(engine);
  engine.SendCommand(link::NACK);
  engine.Log("---PC sends NACK\n\n");
  engine.SendCommand(link::END_COMMUNICATION);
  engine.Log("---PC sends END_COMMUNICATION\n\n");
  engine.ClosePort();
  return result;
}

}  // namespace orgalink::operations
