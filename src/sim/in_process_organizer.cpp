#include "sim/in_process_organizer.h"

namespace orgalink::sim {

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::Create(const SimOptions& options, int baud,
                                                               std::string& error,
                                                               platform::Clock& clock) {
  std::unique_ptr<SimOrganizer> organizer = SimOrganizer::Create(options, clock, error);
  return organizer ? Wire(std::move(organizer), baud, clock) : nullptr;
}

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::WithContents(const SimOptions& options,
                                                                     OrganizerContents contents,
                                                                     int baud,
                                                                     platform::Clock& clock) {
  return Wire(std::make_unique<SimOrganizer>(options, clock, std::move(contents)), baud, clock);
}

std::unique_ptr<InProcessOrganizer> InProcessOrganizer::Wire(
    std::unique_ptr<SimOrganizer> organizer, int baud, platform::Clock& clock) {
  std::unique_ptr<InProcessOrganizer> cable(new InProcessOrganizer());
  cable->line_ = std::make_unique<platform::VirtualLine>(
      clock, platform::VirtualLine::Options{.pacing_baud = baud});
  cable->organizer_port_ = cable->line_->Open(platform::VirtualLine::End::B);
  cable->organizer_ = std::move(organizer);
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
