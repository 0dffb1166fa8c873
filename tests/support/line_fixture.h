// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "link/front_end.h"
#include "link/link_engine.h"
#include "operations/run_context.h"
#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/virtual_line.h"
#include "store/appli_store.h"
#include "support/temp_dir.h"

namespace orgalink::testsupport {

using Bytes = std::vector<std::uint8_t>;

// A front end that remembers what the engine told and asked it. Like a
// dialog, it puts the variant's tag in front of its title.
class RecordingOwner : public link::ProgressSink, public link::Prompter {
 public:
  link::FrontEnd Front() { return {this, this}; }

  void Report(const link::ProgressEvent& event) override;
  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

  std::string Title() const;
  void SetTitle(const std::string& title);
  std::vector<link::ProgressEvent> reported() const;
  // The texts of every question and note, in order.
  std::vector<std::string> shown() const;
  // The answer to every question: Retry and yes, or Cancel and no.
  void SetAnswer(bool yes);

 private:
  mutable std::mutex mutex_;
  std::vector<link::ProgressEvent> reported_;
  std::vector<std::string> shown_;
  std::string title_ = "orgalink";
  bool answer_ = false;
};

// The organizer's end of the virtual line, scripted by a test.
class FarEnd {
 public:
  FarEnd(platform::SerialPort& port, platform::Clock& clock);

  void Send(const Bytes& bytes);
  void SendCommand(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0);
  // Waits up to `timeout_ms` for exactly `count` bytes; returns what came.
  Bytes Receive(std::size_t count, std::uint32_t timeout_ms = 120000);
  Bytes ReceiveCommand() { return Receive(5); }
  // Lets `ms` of (virtual) time pass.
  void Pause(std::uint32_t ms);

  platform::SerialPort& port() { return port_; }

 private:
  platform::SerialPort& port_;
  platform::Clock& clock_;
};

// A command frame with its checksum.
Bytes CommandFrame(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0);

// The engine on end A of a virtual line on virtual time, an organizer script
// on end B, each on its own thread; time moves only while both wait.
class LineFixture {
 public:
  explicit LineFixture(platform::VirtualLine::Options options = {});
  ~LineFixture();

  // Gives the engine a fresh log file in the fixture's folder.
  void UseLog();
  std::string LogText() const;

  // Runs `pc` (the engine's side) and `far` (the organizer, may be empty)
  // on two threads and waits for both.
  void Run(const std::function<void()>& pc, const std::function<void(FarEnd&)>& far = {});

  // Like Run, with the engine's port opened before both sides start; returns what `pc` returned
  // and, when asked, the virtual time it took.
  link::StepResult RunOpen(const std::function<link::StepResult()>& pc,
                           const std::function<void(FarEnd&)>& far = {},
                           std::uint32_t* elapsed = nullptr);

  // Runs `step` on the calling thread and returns the virtual time it took.
  std::uint32_t Elapsed(const std::function<void()>& step);

  // Asks the engine to abort once virtual time reaches `at`.
  void AbortAt(platform::Tick at);

  TempDir dir;
  platform::VirtualClock clock;
  platform::VirtualLine line;
  store::AppliStore store;
  // The engine's abort request, as a dialog's Abort button sets it.
  platform::CancelToken abort;
  link::LinkEngine engine;
  // The operations' view of the same communication, linked to `store`.
  operations::RunContext run{engine};
  RecordingOwner owner;
  std::string log_path;
};

}  // namespace orgalink::testsupport

namespace orgalink::link {

// Readable events in test failures.
void PrintTo(const ProgressEvent& event, std::ostream* out);

}  // namespace orgalink::link
