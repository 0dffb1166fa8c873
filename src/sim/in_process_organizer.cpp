// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/in_process_organizer.h"

namespace orgalink::sim {

namespace {

// The cable itself returns the PC's bytes, as the real one does: each comes
// back as it reaches the organizer, whatever the organizer is doing, and
// the organizer need not take in the PC's bytes one by one to echo them.
SimOptions WithoutEcho(SimOptions options) {
  options.echo = false;
  return options;
}

}  // namespace

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::Create(const SimOptions& options, int baud,
                                                               std::string& error,
                                                               platform::Clock& clock) {
  std::unique_ptr<SimOrganizer> organizer =
      SimOrganizer::Create(WithoutEcho(options), clock, error);
  if (!organizer) return nullptr;
  std::unique_ptr<InProcessOrganizer> cable = Wire(std::move(organizer), baud, options.echo, clock);
  if (!cable) error = "the simulated organizer's thread cannot be started";
  return cable;
}

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::WithContents(const SimOptions& options,
                                                                     OrganizerContents contents,
                                                                     int baud,
                                                                     platform::Clock& clock) {
  return Wire(std::make_unique<SimOrganizer>(WithoutEcho(options), clock, std::move(contents)),
              baud, options.echo, clock);
}

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::Wire(
    std::unique_ptr<SimOrganizer> organizer, int baud, bool echo, platform::Clock& clock) {
  std::unique_ptr<InProcessOrganizer> cable(new InProcessOrganizer());
  cable->line_ = std::make_unique<platform::VirtualLine>(
      clock, platform::VirtualLine::Options{.echo_a = echo, .pacing_baud = baud});
  cable->organizer_port_ = cable->line_->Open(platform::VirtualLine::End::B);
  cable->organizer_ = std::move(organizer);
  platform::VirtualLine* line = cable->line_.get();
  cable->organizer_->Attach(*cable->organizer_port_, [line] { line->HangUp(); });
  if (!cable->organizer_->Start()) return nullptr;
  return cable;
}

InProcessOrganizer::~InProcessOrganizer() {
  if (organizer_) organizer_->Stop();
}

platform::PortOpener InProcessOrganizer::Opener() {
  return [this](int, int, std::string& error) {
    std::unique_ptr<platform::SerialPort> port = line_->Open(platform::VirtualLine::End::A);
    if (!port) {
      error = "the simulated organizer's cable is in use";
      return port;
    }
    organizer_->PressPcLink();
    return port;
  };
}

}  // namespace orgalink::sim
