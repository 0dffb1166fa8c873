// The communication driver: one whole communication per call, and every
// failure ends with NACK and END_COMMUNICATION so the organizer is released.

#include "link/link_engine.h"

namespace orgalink::link {

namespace {
constexpr std::uint8_t kLastRunMode = 18;
}

LinkStatus LinkEngine::RunCommunication(LinkOwner* owner, std::uint8_t run_mode) {
  if (store_ == nullptr || owner == nullptr) return LinkIoError;
  Log("##### START COMMUNICATION #####\n\n", true);

  LinkStatus result = LinkIoError;
  if (!OpenPort(com_port_)) {
    Log("!!!Can't Open COM Port\n\n");
    result = status_;
  } else if (run_mode > kLastRunMode) {
    Log("Unknown RunMode\n\n");
    result = LinkIoError;
  } else {
    result = RunModeSteps(owner, run_mode);
  }

  if (result == LinkOk) {
    ClosePort();
    Log("##### END COMMUNICATION #####\n\n");
    return LinkOk;
  }
  SendCommand(NACK);
  Log("---PC sends NACK\n\n");
  SendCommand(END_COMMUNICATION);
  Log("---PC sends END_COMMUNICATION\n\n");
  ClosePort();
  return result;
}

}  // namespace orgalink::link
