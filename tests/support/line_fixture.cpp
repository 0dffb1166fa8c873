// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/line_fixture.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "link/comm_log.h"
#include "ui/variant_tag.h"

namespace orgalink::testsupport {

void RecordingOwner::Report(const link::ProgressEvent& event) {
  std::lock_guard lock(mutex_);
  reported_.push_back(event);
  if (event.kind == link::ProgressKind::Variant) title_ = ui::VariantTag(event.value) + title_;
}

bool RecordingOwner::RetryOrCancel(const std::string& text, const link::Cause& /*cause*/,
                                   const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  shown_.push_back(text);
  return answer_;
}

void RecordingOwner::Inform(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  shown_.push_back(text);
}

bool RecordingOwner::Confirm(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  shown_.push_back(text);
  return answer_;
}

std::string RecordingOwner::Title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

void RecordingOwner::SetTitle(const std::string& title) {
  std::lock_guard lock(mutex_);
  title_ = title;
}

std::vector<link::ProgressEvent> RecordingOwner::reported() const {
  std::lock_guard lock(mutex_);
  return reported_;
}

std::vector<std::string> RecordingOwner::shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

void RecordingOwner::SetAnswer(bool yes) {
  std::lock_guard lock(mutex_);
  answer_ = yes;
}

// Nobody aborts the organizer's side.
FarEnd::FarEnd(platform::SerialPort& port, platform::Clock& clock) : port_(port), clock_(clock) {}

void FarEnd::Send(const Bytes& bytes) {
  std::size_t written = 0;
  const platform::Tick deadline = platform::Deadline(clock_, 120000);
  port_.Write(bytes.data(), bytes.size(), written, deadline, platform::CancelToken::Never());
}

void FarEnd::SendCommand(std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
  Send(CommandFrame(code, p1, p2));
}

Bytes FarEnd::Receive(std::size_t count, std::uint32_t timeout_ms) {
  const platform::Tick deadline = platform::Deadline(clock_, timeout_ms);
  port_.WaitInput(count, deadline, platform::CancelToken::Never());
  Bytes bytes(count);
  const int got = port_.Read(bytes.data(), count);
  bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return bytes;
}

void FarEnd::Pause(std::uint32_t ms) {
  platform::CancelToken::Never().WaitUntilSet(clock_, platform::Deadline(clock_, ms));
}

Bytes CommandFrame(std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
  Bytes frame{0x7F, code, p1, p2, 0};
  frame[4] = static_cast<std::uint8_t>(0x7F + code + p1 + p2);
  return frame;
}

LineFixture::LineFixture(platform::VirtualLine::Options options)
    : line(clock, options), engine(clock) {
  link::ResetLogTimeReference();
  engine.Link().SetAbortToken(abort);
  run.store = &store;
  engine.Link().SetPortOpener([this](int, int, std::string& error) {
    auto port = line.Open(platform::VirtualLine::End::A);
    if (!port) error = "Device or resource busy";
    return port;
  });
}

LineFixture::~LineFixture() = default;

void LineFixture::UseLog() {
  log_path = dir.File("comm.log");
  engine.Log().SetFileName(log_path);
}

std::string LineFixture::LogText() const {
  return ReadFile(log_path);
}

void LineFixture::Run(const std::function<void()>& pc, const std::function<void(FarEnd&)>& far) {
  std::latch registered(far ? 2 : 1);
  std::thread pc_thread([&] {
    platform::VirtualClock::Participant participant(clock);
    registered.arrive_and_wait();
    pc();
  });
  std::thread far_thread;
  if (far) {
    far_thread = std::thread([&] {
      platform::VirtualClock::Participant participant(clock);
      auto port = line.Open(platform::VirtualLine::End::B);
      FarEnd end(*port, clock);
      registered.arrive_and_wait();
      far(end);
    });
  }
  pc_thread.join();
  if (far_thread.joinable()) far_thread.join();
}

link::StepResult LineFixture::RunOpen(const std::function<link::StepResult()>& pc,
                                      const std::function<void(FarEnd&)>& far,
                                      std::uint32_t* elapsed) {
  // Opened before either side starts, so that nothing the organizer sends
  // early arrives at a closed end.
  if (!engine.Link().OpenPort(1)) {
    ADD_FAILURE() << "the engine's end of the line did not open";
    return link::LinkStatus{-1};
  }
  link::StepResult status{link::LinkStatus{-1}};
  Run(
      [&] {
        const std::uint32_t took = Elapsed([&] { status = pc(); });
        if (elapsed != nullptr) *elapsed = took;
      },
      far);
  return status;
}

std::uint32_t LineFixture::Elapsed(const std::function<void()>& step) {
  const platform::Tick start = clock.Now();
  step();
  return clock.Now() - start;
}

void LineFixture::AbortAt(platform::Tick at) {
  clock.At(at, [this] { abort.Set(); });
}

}  // namespace orgalink::testsupport

namespace orgalink::link {

void PrintTo(const ProgressEvent& event, std::ostream* out) {
  *out << "{kind " << static_cast<int>(event.kind) << ", value " << event.value << ", scope "
       << static_cast<int>(event.scope) << "}";
}

}  // namespace orgalink::link
