#include "sim/in_process_organizer.h"

namespace orgalink::sim {

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::Create(const SimOptions& options, int baud,
                                                               std::string& error,
                                                               platform::Clock& clock) {
  std::unique_ptr<InProcessOrganizer> cable(new InProcessOrganizer());
  cable->organizer_ = SimOrganizer::Create(options, clock, error);
  if (!cable->organizer_) return nullptr;
  cable->line_ = std::make_unique<platform::VirtualLine>(
      clock, platform::VirtualLine::Options{.pacing_baud = baud});
  cable->organizer_port_ = cable->line_->Open(platform::VirtualLine::End::B);
  platform::VirtualLine* line = cable->line_.get();
  cable->organizer_->Attach(*cable->organizer_port_, [line] { line->HangUp(); });
  cable->organizer_->Start();
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
