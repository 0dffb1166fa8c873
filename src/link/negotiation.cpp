// SPDX-License-Identifier: GPL-3.0-or-later
// The opening handshake of every communication, from both sides.

#include "link/negotiation.h"

#include <cstdint>

namespace orgalink::link {

namespace {

constexpr long kVariantProbeMs = 1000;
constexpr std::uint32_t kOfferPeriodMs = 2000;
constexpr std::uint32_t kOfferWindowMs = 30000;

StepResult Fail(LinkEngine& engine, const char* line, Cause cause) {
  engine.Log().Line(line);
  engine.SetStatus(LinkIoError, -1);
  return {LinkIoError, std::move(cause)};
}

// A device code of the organizer that is not the one the settings name.
Cause WrongDevice(const char* part, int expected, int received) {
  return Cause::WrongData(std::string("device code (") + part + ")", expected, received);
}

// A negotiation on a port that is not open keeps the status its opening left.
StepResult NotOpen(const LinkEngine& engine) {
  return {engine.Status(), Cause::System("using the port", 0, "the port is not open")};
}

void ReportWaiting(ProgressSink* progress) {
  Report(progress, {ProgressKind::Status, 0, ProgressScope::Negotiation});
}

// LINK_REQUEST, our ACK, and the organizer's DEVICE_INFORMATION.
StepResult Handshake(LinkEngine& engine, long linkRequestTimeout, long multiplier,
                     std::uint8_t (&info)[2]) {
  StepResult status =
      engine.WaitCommand(LINK_REQUEST, nullptr, nullptr, linkRequestTimeout, multiplier);
  if (status != LinkOk) return status;
  engine.Log().Line("---PC receives LinkRequest\n\n");
  if ((status = engine.SendCommand(ACK)) != LinkOk) return status;
  engine.Log().Line("---PC sends ACK\n\n");
  return engine.WaitCommand(DEVICE_INFORMATION, info);
}

// The variant the first DEVICE_INFORMATION claims; the M shares Low 1 with
// the E+ and is told apart by the probe.
StepResult VariantFromLow(LinkEngine& engine, std::uint8_t low) {
  if (low > 1) return Fail(engine, "!!!Another Device Code(Low)\n\n", WrongDevice("low", -1, low));
  engine.SetModelVariant(low == 0 ? VariantE : VariantEPlus);
  return LinkOk;
}

// Only an M answers GET_DEVICE_INFORMATION; silence within a second is the
// normal answer of an E or E+.
StepResult ProbeVariant(LinkEngine& engine, std::uint8_t low) {
  StepResult status = engine.SendCommand(GET_DEVICE_INFORMATION);
  if (status != LinkOk) return status;
  engine.Log().Line("---PC sends GET_DEVICE_INFORMATION\n\n");
  status = engine.WaitCommand(DEVICE_INFORMATION, nullptr, nullptr, kVariantProbeMs, 0);
  if (status == LinkTimeout) {
    engine.SetStatus(LinkOk, -1);
    engine.Log().Line("---HDD is PELLICO\n\n");
    return LinkOk;
  }
  if (status != LinkOk) return status;
  if (low != 1) return Fail(engine, "!!!Another Device Code\n\n", WrongDevice("low", 1, low));
  engine.Log().Line("---PC receives DEVICE_INFORMATION\n");
  engine.Log().Line("---HDD is PELLICOM\n\n");
  engine.SetModelVariant(VariantM);
  return LinkOk;
}

// Only someone keeping a log, that is diagnosing the link, is shown the
// variant.
void ReportVariant(LinkEngine& engine, ProgressSink* progress) {
  if (engine.Log().FileName().empty()) return;
  const int variant = engine.ModelVariant();
  if (variant < VariantE || variant > VariantEPlus) return;
  Report(progress, {ProgressKind::Variant, variant});
}

StepResult AbortedOffer(LinkEngine& engine) {
  engine.Log().Line("!!!Abort(NegotiationForDevice)\n\n");
  engine.SetStatus(LinkAborted, -1);
  return {LinkAborted, Cause::Aborted()};
}

// One offer of the organizer's side: LINK_REQUEST, then up to 2 s for ACK.
// `answered` tells whether the PC took it.
StepResult OfferLink(LinkEngine& engine, bool& answered) {
  answered = false;
  StepResult status = engine.SendCommand(LINK_REQUEST);
  if (status != LinkOk) return status;
  engine.Log().Line("---HDD sends LINK_REQUEST\n\n");
  status = engine.WaitCommand(ACK, nullptr, nullptr, kOfferPeriodMs, 0);
  // An abort ends the offers at once; anything else just means the PC is
  // not there yet.
  if (status == LinkAborted) return AbortedOffer(engine);
  if (status != LinkOk) return LinkOk;
  answered = true;
  engine.Log().Line("---HDD receives ACK\n\n");
  if ((status = engine.SendCommand(DEVICE_INFORMATION)) != LinkOk) return status;
  engine.Log().Line("---HDD sends DEVICE_INFORMATION\n\n");
  engine.Log().Line("========== End Negotiation ==========\n\n");
  return LinkOk;
}

}  // namespace

StepResult Negotiation(LinkEngine& engine, ProgressSink* progress, long linkRequestTimeout,
                       long multiplier) {
  if (!engine.Link().IsPortOpen()) return NotOpen(engine);
  engine.Log().Line("========== Start Negotiation ==========\n\n");
  ReportWaiting(progress);
  std::uint8_t info[2] = {0, 0};
  StepResult status = Handshake(engine, linkRequestTimeout, multiplier, info);
  if (status != LinkOk) return status;
  const std::uint8_t low = info[0];
  if (info[1] != engine.DeviceCodeHigh()) {
    return Fail(engine, "!!!Another Device Code(High)\n\n",
                WrongDevice("high", engine.DeviceCodeHigh(), info[1]));
  }
  engine.Log().Line("---PC receives DEVICE_INFORMATION\n\n");
  if ((status = VariantFromLow(engine, low)) != LinkOk) return status;
  if ((status = ProbeVariant(engine, low)) != LinkOk) return status;
  ReportVariant(engine, progress);
  engine.Log().Line("========== End Negotiation ==========\n\n");
  return LinkOk;
}

StepResult NegotiationForDevice(LinkEngine& engine, ProgressSink* progress) {
  engine.Log().Line("\n========== Start Negotiation ==========\n\n");
  if (!engine.Link().IsPortOpen()) return NotOpen(engine);
  ReportWaiting(progress);
  const platform::Tick window = engine.Link().Deadline(kOfferWindowMs);
  platform::Tick due = engine.Link().Clock().Now();
  while (!engine.Link().Expired(window)) {
    if (engine.Link().PollAbort()) return AbortedOffer(engine);
    if (!engine.Link().Expired(due)) {
      // Sleep until the next offer is due, an abort arrives or time is up.
      engine.Link().WaitForAbortOrDeadline(platform::TickAfter(due, window) ? window : due);
      continue;
    }
    due = engine.Link().Deadline(kOfferPeriodMs);
    bool answered = false;
    // A failed send ends the negotiation with its own status and lines.
    StepResult status = OfferLink(engine, answered);
    if (status != LinkOk || answered) return status;
  }
  engine.Log().Line("!!!Time Out(NegoticationForDevice) Break\n\n");
  engine.SetStatus(LinkTimeout, -1);
  return {LinkTimeout, Cause::TimedOut("the PC's answer to LINK_REQUEST", kOfferWindowMs)};
}

}  // namespace orgalink::link
