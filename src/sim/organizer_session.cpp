// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/organizer_session.h"

#include "link/command_code.h"
#include "sim/offer_link.h"

namespace orgalink::sim {

using Outcome = SimLine::Outcome;

OrganizerSession::OrganizerSession(SimLine& line, const SimOptions& options,
                                   const TelephoneSort& sort, SharedContents& contents,
                                   std::function<void()> hang_up)
    : line_(line),
      options_(options),
      sort_(sort),
      contents_(contents),
      hang_up_(std::move(hang_up)),
      plan_(options.faults) {}

SessionEnd OrganizerSession::Run() {
  for (;;) {
    Frame frame;
    const Outcome got = line_.NextFrame(line_.Deadline(options_.session_timeout_ms), frame);
    const Step step = got == Outcome::Ok ? Handle(frame) : Ended(got);
    if (step) return *step;
  }
}

// A packet nobody announced, or a damaged frame, gets a NACK.
OrganizerSession::Step OrganizerSession::Handle(const Frame& frame) {
  if (!frame.command || !frame.intact) return Refuse();
  if (frame.Code() != link::SEND_1_RECORD) assembly_.Reset();
  switch (frame.Code()) {
    case link::END_COMMUNICATION:
      return SessionEnd::EndCommunication;
    case link::NACK:
      return SessionEnd::Nack;
    case link::ACK:
      return std::nullopt;
    case link::GET_DEVICE_INFORMATION:
      return AnswerDeviceInformation();
    case link::GET_ALL_RECORDS:
      return receiving_ ? Refuse() : ServeRecords(frame.Param1());
    case link::GET_EXPENSE_CATEGORY:
      return receiving_ ? Refuse() : ServeCategory();
    case link::DELETE_ALL_RECORDS:
      return DeleteRecords(frame.Param1());
    case link::SEND_1_RECORD:
      return TakeRecordPacket();
    case link::SEND_EXPENSE_CATEGORY:
      return TakeCategory();
    default:
      return Refuse();
  }
}

// Only the M knows the command; the others stay silent, which is how the PC
// tells them from it.
OrganizerSession::Step OrganizerSession::AnswerDeviceInformation() {
  if (options_.variant != SimVariant::M) return std::nullopt;
  return Send(link::DEVICE_INFORMATION, DeviceCodeLow(options_.variant), options_.device_code_high);
}

OrganizerSession::Step OrganizerSession::Send(std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
  const Outcome sent = line_.SendCommand(code, p1, p2);
  return sent == Outcome::Ok ? std::nullopt : Ended(sent);
}

OrganizerSession::Step OrganizerSession::Refuse() {
  return Send(link::NACK);
}

OrganizerSession::Step OrganizerSession::Ended(Outcome outcome) const {
  switch (outcome) {
    case Outcome::Ok:
      return std::nullopt;
    case Outcome::Timeout:
      return SessionEnd::Quiet;
    case Outcome::Stopped:
      return SessionEnd::Stopped;
    case Outcome::Failed:
      break;
  }
  return SessionEnd::LineFailed;
}

OrganizerSession::Step OrganizerSession::HangUp() {
  if (hang_up_) hang_up_();
  return SessionEnd::HungUp;
}

OrganizerSession::Step OrganizerSession::StrikePacket(bool& damaged) {
  damaged = false;
  switch (plan_.NextPacket()) {
    case FaultPlan::PacketFate::HangUp:
      return HangUp();
    case FaultPlan::PacketFate::Silence:
      return FallSilent();
    case FaultPlan::PacketFate::BadChecksum:
      damaged = true;
      break;
    case FaultPlan::PacketFate::Normal:
      break;
  }
  return std::nullopt;
}

// The cable still echoes; the organizer takes everything in and answers
// nothing until the PC has given up.
OrganizerSession::Step OrganizerSession::FallSilent() {
  Frame frame;
  Outcome got = Outcome::Ok;
  while (got == Outcome::Ok) {
    got = line_.NextFrame(line_.Deadline(options_.session_timeout_ms), frame);
  }
  return got == Outcome::Timeout ? SessionEnd::Silent : *Ended(got);
}

}  // namespace orgalink::sim
