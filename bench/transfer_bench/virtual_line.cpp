// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_line.h"
#include "sim/in_process_organizer.h"

namespace orgalink::bench {

namespace {

class VirtualBenchLine final : public BenchLine {
 public:
  VirtualBenchLine(std::unique_ptr<sim::InProcessOrganizer> cable, int baud)
      : cable_(std::move(cable)), baud_(baud) {}

  std::string Name() const override { return "virtual " + std::to_string(baud_); }
  int Baud() const override { return baud_; }
  platform::PortOpener Opener() override { return cable_->Opener(); }

  std::optional<bool> Holds(const sim::OrganizerContents& expected) override {
    cable_->Organizer().WaitUntilIdle();
    return cable_->Organizer().Contents() == expected;
  }

 private:
  std::unique_ptr<sim::InProcessOrganizer> cable_;
  int baud_;
};

}  // namespace

std::unique_ptr<BenchLine> MakeVirtualLine(const sim::SimOptions& options,
                                           sim::OrganizerContents contents, int baud) {
  return std::make_unique<VirtualBenchLine>(
      sim::InProcessOrganizer::WithContents(options, std::move(contents), baud), baud);
}

}  // namespace orgalink::bench
