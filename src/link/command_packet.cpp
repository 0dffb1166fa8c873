// SPDX-License-Identifier: GPL-3.0-or-later
// Command packets: 0x7F, code, two parameters, checksum.

#include <array>

#include "link/command_name.h"
#include "link/frame.h"
#include "link/link_engine.h"
#include "link/text_format.h"

namespace orgalink::link {

namespace {
bool IsSendableCode(int code) {
  return code >= LINK_REQUEST && code <= NACK && code != 7 && !(code >= 17 && code <= 20);
}

std::string AwaitedCommand(int expected) {
  if (expected == AnyCommand || expected == AnyHandheldCommand) return "a command";
  return CommandName(expected);
}
}  // namespace

unsigned Checksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t byte : bytes) sum += byte;
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

StepResult LinkEngine::SendCommand(int code, int p1, int p2) {
  if (!IsSendableCode(code)) {
    log_.Line("!!!Command Send Err(Unknown Command)\n\n");
    return {LinkAborted, Cause::WrongData("command code", -1, code)};
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
  frame[4] = static_cast<std::uint8_t>(Checksum(std::span(frame).first(4)));
  if (StepResult written = link_.WritePort(frame); !written) {
    log_.Line("!!!Command Send Err\n\n");
    return written;
  }
  status_.Set(LinkOk, -1);
  return LinkOk;
}

StepResult LinkEngine::WaitCommand(int expected, std::uint8_t* parameters_out,
                                   std::uint8_t* code_out, long timeout, long multiplier) {
  const long total_ms = timeout == -1 ? to_command_ : timeout;
  const FrameTiming times(link_, total_ms, multiplier == -1 ? to_multiplier_ : multiplier);
  while (!link_.Expired(times.Overall())) {
    if (link_.PollAbort()) {
      log_.Line("!!!Abort(WaitCommand)\n\n");
      return {LinkAborted, Cause::Aborted()};
    }
    std::array<std::uint8_t, CommandSize> frame{};
    if (StepResult read = link_.ReadPort(std::span(frame).first(1), times.ReadDeadline(1, 10000));
        !read) {
      if (link_.AbortFlag()) return {LinkAborted, Cause::Aborted()};
      // A dead device fails every read at once; only a time-out is worth another attempt.
      if (read.status != LinkTimeout) return read;
      continue;
    }
    if (frame[0] != CommandStart) {
      log_.Line("!!!NOT Command (Wait Command)\n");
      continue;
    }
    if (StepResult rest = ReadCommandRest(*this, frame, times.ReadDeadline(4)); !rest) return rest;
    const int code = frame[1];
    const bool any = expected == AnyCommand || expected == AnyHandheldCommand;
    if (any && !IsCommandCode(code) &&
        !(expected == AnyHandheldCommand && code == GET_DEVICE_INFORMATION)) {
      log_.Line("!!!NOT Command (Wait Command2)\n\n");
      return status_.Fail(LinkIoError, Cause::WrongData("command code", -1, code));
    }
    if (!any && code != expected) {
      log_.Line(code == NACK ? "!!!---PC receives NACK\n\n" : "!!!Another Command\n\n");
      return status_.Fail(LinkIoError,
                          Cause::WrongData("command", expected, code,
                                           "the organizer sent " + CommandName(code) + " where " +
                                               CommandName(expected) + " was expected"));
    }
    if (code_out != nullptr) *code_out = frame[1];
    if (parameters_out != nullptr) {
      parameters_out[0] = frame[2];
      parameters_out[1] = frame[3];
    }
    status_.Set(LinkOk, -1);
    return LinkOk;
  }
  log_.Line("!!!Time Out(Wait Command) Break\n\n");
  return status_.Fail(LinkTimeout, Cause::TimedOut(AwaitedCommand(expected), total_ms));
}

}  // namespace orgalink::link
