// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/offer_link.h"

#include "link/command_code.h"

namespace orgalink::sim {

namespace {

constexpr std::uint32_t kOfferPeriodMs = 1000;

OfferResult FromOutcome(SimLine::Outcome outcome) {
  return outcome == SimLine::Outcome::Stopped ? OfferResult::Stopped : OfferResult::Failed;
}

// Waits out one offer period for the PC's ACK.
SimLine::Outcome AwaitAck(SimLine& line, platform::Tick until, bool& answered) {
  answered = false;
  Frame frame;
  for (;;) {
    const SimLine::Outcome got = line.NextFrame(until, frame);
    if (got != SimLine::Outcome::Ok) return got;
    if (frame.Is(link::ACK)) {
      answered = true;
      return got;
    }
  }
}

}  // namespace

std::uint8_t DeviceCodeLow(SimVariant variant) {
  return variant == SimVariant::E ? 0 : 1;
}

OfferResult OfferLink(SimLine& line, const SimOptions& options, std::uint32_t window_ms) {
  const platform::Tick window_end = line.Deadline(window_ms);
  for (;;) {
    SimLine::Outcome outcome = line.SendCommand(link::LINK_REQUEST);
    if (outcome != SimLine::Outcome::Ok) return FromOutcome(outcome);
    // The period runs from the offer's leaving, so that a slow organizer
    // still gives the PC its whole period to answer.
    const platform::Tick next_offer = line.Deadline(kOfferPeriodMs);
    bool answered = false;
    outcome = AwaitAck(line, next_offer, answered);
    if (answered) {
      outcome = line.SendCommand(link::DEVICE_INFORMATION, DeviceCodeLow(options.variant),
                                 options.device_code_high);
      return outcome == SimLine::Outcome::Ok ? OfferResult::Linked : FromOutcome(outcome);
    }
    if (outcome != SimLine::Outcome::Timeout) return FromOutcome(outcome);
    if (window_ms > 0 && platform::TickAfter(next_offer, window_end)) {
      return OfferResult::Unanswered;
    }
  }
}

}  // namespace orgalink::sim
