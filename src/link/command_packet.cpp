// Command packets: 0x7F, code, two parameters, checksum.

#include <array>

#include "link/frame.h"
#include "link/link_engine.h"

namespace orgalink::link {

namespace {
bool IsSendableCode(int code) {
  return code >= LINK_REQUEST && code <= NACK && code != 7 && !(code >= 17 && code <= 20);
}
}  // namespace

unsigned Checksum(const std::uint8_t* bytes, int count) {
  unsigned sum = 0;
  for (int i = 0; i < count; ++i) sum += bytes[i];
  return sum;
}

bool IsCommandCode(int code) {
  switch (code) {
    case LINK_REQUEST:
    case ACK:
    case DEVICE_INFORMATION:
    case END_COMMUNICATION:
    case SEND_1_RECORD:
    case DELETE_ALL_RECORDS:
    case GET_ALL_RECORDS:
    case FINISH_ALL_RECORDS:
    case GET_EXPENSE_CATEGORY:
    case SEND_EXPENSE_CATEGORY:
    case NACK:
      return true;
    default:
      return false;
  }
}

LinkStatus LinkEngine::SendCommand(int code, int p1, int p2) {
  if (!IsSendableCode(code)) {
    Log("!!!Command Send Err(Unknown Command)\n\n");
    return LinkAborted;
  }
  std::array<std::uint8_t, CommandSize> frame{CommandStart, static_cast<std::uint8_t>(code), 0, 0,
                                              0};
  if (code == DEVICE_INFORMATION) {
    frame[2] = device_code_[1];
    frame[3] = device_code_[0];
  } else if (code == DELETE_ALL_RECORDS || code == GET_ALL_RECORDS) {
    frame[2] = static_cast<std::uint8_t>(p1);
    frame[3] = static_cast<std::uint8_t>(p2);
  }
  frame[4] = static_cast<std::uint8_t>(Checksum(frame.data(), 4));
  if (!WritePort(frame.data(), CommandSize)) {
    Log("!!!Command Send Err\n\n");
    return status_;
  }
  SetStatus(LinkOk, -1);
  return LinkOk;
}

LinkStatus LinkEngine::WaitCommand(int expected, std::uint8_t* parameters_out,
                                   std::uint8_t* code_out, long timeout, long multiplier) {
  const FrameTiming times(*this, timeout == -1 ? to_command_ : timeout,
                          multiplier == -1 ? to_multiplier_ : multiplier);
  while (!Expired(times.Overall())) {
    if (PollAbort()) {
      Log("!!!Abort(WaitCommand)\n\n");
      return LinkAborted;
    }
    std::array<std::uint8_t, CommandSize> frame{};
    if (!ReadPort(frame.data(), 1, times.ReadDeadline(1, 10000))) {
      if (abort_flag_) return LinkAborted;
      // A dead device fails every read at once; only a time-out is worth another attempt.
      if (status_ != LinkTimeout) return status_;
      continue;
    }
    if (frame[0] != CommandStart) {
      Log("!!!NOT Command (Wait Command)\n");
      continue;
    }
    const LinkStatus rest = ReadCommandRest(*this, frame.data(), times.ReadDeadline(4));
    if (rest != LinkOk) return rest;
    const int code = frame[1];
    const bool any = expected == AnyCommand || expected == AnyHandheldCommand;
    if (any && !IsCommandCode(code) &&
        !(expected == AnyHandheldCommand && code == GET_DEVICE_INFORMATION)) {
      Log("!!!NOT Command (Wait Command2)\n\n");
      SetStatus(LinkIoError, -1);
      return LinkIoError;
    }
    if (!any && code != expected) {
      Log(code == NACK ? "!!!---PC receives NACK\n\n" : "!!!Another Command\n\n");
      SetStatus(LinkIoError, -1);
      return LinkIoError;
    }
    if (code_out != nullptr) *code_out = frame[1];
    if (parameters_out != nullptr) {
      parameters_out[0] = frame[2];
      parameters_out[1] = frame[3];
    }
    SetStatus(LinkOk, -1);
    return LinkOk;
  }
  Log("!!!Time Out(Wait Command) Break\n\n");
  SetStatus(LinkTimeout, -1);
  return LinkTimeout;
}

}  // namespace orgalink::link
