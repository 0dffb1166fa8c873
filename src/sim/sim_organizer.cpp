// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_organizer.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "sim/offer_link.h"
#include "sim/sim_line.h"
#include "sim/state_file.h"

namespace orgalink::sim {

namespace {

// After the PC's goodbye the organizer still takes in (and the cable still
// echoes) what follows, such as the END_COMMUNICATION after a NACK, until the
// line has been quiet this long.
constexpr std::uint32_t kLingerMs = 500;
constexpr const char* kSampleName = "sample_organizer.bkf";

std::string TableDirectory(const SimOptions& options) {
  return options.table_directory.empty() ? platform::DataDirectory() : options.table_directory;
}

// The state file, made from the sample on first use or when asked to.
bool LoadInitialContents(const SimOptions& options, const TelephoneSort& sort,
                         OrganizerContents& contents, std::string& error) {
  const std::string& state = options.state_file;
  if (!state.empty() && !options.reset_to_sample && platform::FileExists(state)) {
    return LoadOrganizerFile(state, sort, contents, error);
  }
  const std::string sample =
      options.sample_file.empty() ? TableDirectory(options) + kSampleName : options.sample_file;
  if (!LoadOrganizerFile(sample, sort, contents, error)) return false;
  return state.empty() || SaveOrganizerFile(state, contents, error);
}

void Linger(SimLine& line) {
  Frame frame;
  while (line.NextFrame(line.Deadline(kLingerMs), frame) == SimLine::Outcome::Ok) {
  }
}

}  // namespace

std::unique_ptr<SimOrganizer> SimOrganizer::Create(const SimOptions& options,
                                                   platform::Clock& clock, std::string& error) {
  TelephoneSort sort = TelephoneSort::FromDirectory(TableDirectory(options));
  OrganizerContents contents;
  if (!LoadInitialContents(options, sort, contents, error)) return nullptr;
  return std::unique_ptr<SimOrganizer>(
      new SimOrganizer(options, clock, std::move(contents), std::move(sort), options.state_file));
}

SimOrganizer::SimOrganizer(const SimOptions& options, platform::Clock& clock,
                           OrganizerContents contents)
    : SimOrganizer(options, clock, std::move(contents),
                   TelephoneSort::FromDirectory(TableDirectory(options)), std::string()) {}

SimOrganizer::SimOrganizer(const SimOptions& options, platform::Clock& clock,
                           OrganizerContents contents, TelephoneSort sort, std::string state_file)
    : options_(options),
      clock_(clock),
      sort_(std::move(sort)),
      state_file_(std::move(state_file)),
      contents_(std::move(contents)) {}

SimOrganizer::~SimOrganizer() {
  Stop();
}

void SimOrganizer::Attach(platform::SerialPort& port, std::function<void()> hang_up) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (running_) return;
  port_ = &port;
  hang_up_ = std::move(hang_up);
}

bool SimOrganizer::Start() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (running_ || port_ == nullptr) return false;
  stop_ = std::make_unique<platform::CancelToken>();
  if (!stop_->Failure().empty()) return false;
  running_ = true;
  thread_ = std::thread([this] { ThreadMain(); });
  return true;
}

void SimOrganizer::Stop() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!running_) return;
    stopping_ = true;
  }
  changed_.notify_all();
  stop_->Set();
  thread_.join();
  {
    std::lock_guard<std::mutex> guard(mutex_);
    running_ = stopping_ = press_pending_ = active_ = false;
  }
  changed_.notify_all();
}

// A press while the organizer is busy is kept for when it is done, without
// waiting: the presser may be the very thread whose time the organizer waits
// for.
void SimOrganizer::PressPcLink() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!running_ || stopping_ || press_pending_) return;
  press_pending_ = true;
  if (active_) return;
  changed_.notify_all();
  changed_.wait(lock, [this] { return !press_pending_ || stopping_; });
}

void SimOrganizer::WaitUntilIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !running_ || stopping_ || (!active_ && !press_pending_); });
}

OrganizerContents SimOrganizer::Contents() const {
  return contents_.Read([](const OrganizerContents& contents) { return contents; });
}

SimStats SimOrganizer::Stats() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return stats_;
}

void SimOrganizer::ThreadMain() {
  while (WaitForPress()) {
    // Simulated time must wait for the organizer while PC-LINK is in effect.
    std::optional<platform::VirtualClock::Participant> participant;
    if (auto* simulated = dynamic_cast<platform::VirtualClock*>(&clock_)) {
      participant.emplace(*simulated);
    }
    TakePress();
    do {
      RunActive(*stop_);
    } while (!BecomeIdle());
  }
}

bool SimOrganizer::WaitForPress() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return press_pending_ || stopping_; });
  return !stopping_;
}

void SimOrganizer::TakePress() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    active_ = true;
    press_pending_ = false;
  }
  changed_.notify_all();
}

// False, staying active, when PC-LINK was pressed meanwhile.
bool SimOrganizer::BecomeIdle() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (press_pending_ && !stopping_) {
      press_pending_ = false;
      return false;
    }
    active_ = false;
  }
  changed_.notify_all();
  return true;
}

void SimOrganizer::RunActive(const platform::CancelToken& stop) {
  SimLine line(*port_, clock_, stop, options_, [this](std::uint8_t code) { Record(code); });
  for (;;) {
    if (OfferLink(line, options_, options_.offer_window_ms) != OfferResult::Linked) return;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      ++stats_.sessions;
      stats_.commands.clear();
    }
    OrganizerSession session(line, options_, sort_, contents_, hang_up_);
    const SessionEnd end = session.Run();
    EndSession(session, end, line);
    const bool line_gone = end == SessionEnd::HungUp || end == SessionEnd::LineFailed;
    if (line_gone || end == SessionEnd::Stopped || !options_.relink) return;
  }
}

void SimOrganizer::EndSession(const OrganizerSession& session, SessionEnd end, SimLine& line) {
  if (end == SessionEnd::EndCommunication || end == SessionEnd::Nack) Linger(line);
  std::string error;
  if (session.Changed() && !state_file_.empty()) SaveOrganizerFile(state_file_, Contents(), error);
  std::lock_guard<std::mutex> guard(mutex_);
  stats_.ended_any = true;
  stats_.last_end = end;
  stats_.save_error = error;
}

void SimOrganizer::Record(std::uint8_t command) {
  std::lock_guard<std::mutex> guard(mutex_);
  stats_.commands.push_back(command);
}

}  // namespace orgalink::sim
