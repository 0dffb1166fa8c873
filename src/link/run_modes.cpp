// What each RunMode does inside the driver's guarded block.

#include "link/link_engine.h"
#include "link/negotiation.h"

namespace orgalink::link {

namespace {

// The application code that goes on the line for the current application.
int LineCode(int appli_kind) {
  return appli_kind >= 0 && appli_kind <= 6 ? appli_kind : 0xFF;
}

LinkStatus NotAvailable(LinkEngine& engine, int run_mode) {
  engine.LogFormat("!!!RunMode %d Not Available\n\n", run_mode);
  engine.SetStatus(LinkIoError, -1);
  return LinkIoError;
}

}  // namespace

LinkStatus LinkEngine::RunModeSteps(LinkOwner* owner, std::uint8_t run_mode) {
  LinkStatus result = LinkIoError;
  const char* success_text = nullptr;
  switch (run_mode) {
    case 0:
      result = Negotiation(*this, owner, 30000, -1);
      success_text = "SUCCESS Negotiation";
      break;
    case 10:
      result = SendCommand(ACK);
      if (result == LinkOk) result = WaitCommand(AnyCommand);
      success_text = "SUCCESS send ACK";
      break;
    case 11:
      result = SendCommand(NACK);
      success_text = "SUCCESS send NACK";
      break;
    case 12:
      result = SendCommand(END_COMMUNICATION);
      success_text = "SUCCESS send END_COMMUNICATION";
      break;
    case 14:
      result = SendCommand(DELETE_ALL_RECORDS, LineCode(appli_kind_), 0);
      if (result == LinkOk) result = WaitCommand(ACK);
      success_text = "SUCCESS DELETE_ALL_RECORDS";
      break;
    default:
      return NotAvailable(*this, run_mode);
  }
  if (result == LinkOk && success_text != nullptr) {
    owner->ShowMessage(success_text, "", MessageBoxKind::Ok);
  }
  return result;
}

}  // namespace orgalink::link
