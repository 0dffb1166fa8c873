// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "link/comm_log.h"
#include "link/status_register.h"
#include "link/step_result.h"
#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::link {

// The serial line as the protocol sees it: a port opened by number, bytes
// written with their echo checked, bytes read against deadlines, and the
// waits on the driver's queues. Every wait blocks in the port (or on the
// clock) until data, an abort request or its deadline. Each step records
// what went over the line in the communication log and leaves its status in
// the status register, both of which belong to the engine.
class ByteLink {
 public:
  ByteLink(platform::Clock& clock, CommLog& log, StatusRegister& status);
  ~ByteLink();
  ByteLink(const ByteLink&) = delete;
  ByteLink& operator=(const ByteLink&) = delete;

  // --- settings --------------------------------------------------------------
  void SetComPort(int port) { com_port_ = port; }
  int ComPort() const { return com_port_; }
  void SetBaudRate(std::string_view text);
  int BaudRate() const { return baud_rate_; }
  void SetEchoBack(bool on) { echo_back_ = on; }
  bool EchoBack() const { return echo_back_; }
  // How long the input must stay quiet before a write, in ms: 10 by default,
  // more for adapters that deliver in bursts; cut to 1..1000.
  void SetQuietWindow(long ms);
  std::uint32_t QuietWindow() const { return quiet_window_; }
  // How "COM%d" becomes a device; without one every open fails.
  void SetPortOpener(platform::PortOpener opener) { opener_ = std::move(opener); }
  // The request to stop that every wait looks for; it must outlive the
  // link's use of it. Without one nothing can stop a wait but its deadline.
  void SetAbortToken(const platform::CancelToken& token) { abort_token_ = &token; }
  const platform::CancelToken& AbortToken() const { return *abort_token_; }

  // --- the port --------------------------------------------------------------
  // Each step hands back its status, which it also leaves in the register,
  // together with the cause of a failure.
  StepResult OpenPort(int port = -1);
  void ClosePort();
  bool IsPortOpen() const { return port_ != nullptr; }
  // False, with the status naming the port, when there is no port to clear
  // or the system refused.
  bool PurgePort();
  // The system's reason for the last failed open, for the user's message.
  const std::string& OpenError() const { return open_error_; }
  // Writes `bytes`; with echo on, reads them back and compares.
  StepResult WritePort(std::span<const std::uint8_t> bytes);
  StepResult WritePort(std::string_view text);
  // Fills `buffer` before `deadline`.
  StepResult ReadPort(std::span<std::uint8_t> buffer, platform::Tick deadline);
  StepResult WaitReceiveQueue(int count, platform::Tick deadline);
  StepResult DrainReceiveQueue(platform::Tick deadline);
  StepResult WaitSendQueue(platform::Tick deadline);

  // --- abort requests --------------------------------------------------------
  // True, with the abort flag and status 0 set, when an abort was requested.
  bool PollAbort();
  bool AbortFlag() const { return abort_flag_; }
  // Blocks until an abort is requested or `deadline` expires; for loops that
  // wait for time rather than for bytes.
  void WaitForAbortOrDeadline(platform::Tick deadline);

  // While one lives, the link's waits pay no heed to the abort token, so
  // that what the organizer must hear whatever the user asks (the closing
  // NACK and END_COMMUNICATION) goes out, bounded by its own deadlines.
  class AbortShield {
   public:
    explicit AbortShield(ByteLink& link) : link_(link) { ++link_.shields_; }
    ~AbortShield() { --link_.shields_; }
    AbortShield(const AbortShield&) = delete;
    AbortShield& operator=(const AbortShield&) = delete;

   private:
    ByteLink& link_;
  };

  // --- time --------------------------------------------------------------------
  platform::Clock& Clock() const { return clock_; }
  platform::Tick Deadline(std::uint32_t ms) const { return platform::Deadline(clock_, ms); }
  // Deadline for a wait whose length comes from the settings, which nobody
  // range-checks: a negative length has passed at once, and one beyond
  // 2^31-1 ms, which a tick deadline cannot express, is cut to that.
  platform::Tick SettingDeadline(long ms) const {
    return Deadline(static_cast<std::uint32_t>(std::clamp<long>(ms, -1, INT32_MAX)));
  }
  bool Expired(platform::Tick deadline) const { return platform::Expired(clock_, deadline); }

 private:
  StepResult ReadAvailable(std::span<std::uint8_t> buffer);
  // The cause of a failed write; empty when the bytes went out.
  Cause TransmitBytes(std::span<const std::uint8_t> bytes, platform::Tick deadline);
  StepResult CheckEcho(std::span<const std::uint8_t> bytes);
  // The token the waits heed: none while an AbortShield lives.
  const platform::CancelToken& Heeded() const;
  // What a failed call on the port tells the user, with the system's reason.
  Cause PortFailed(const char* call) const;
  // Sets the status that names the port, and hands it back with `cause`.
  StepResult PortFail(Cause cause);
  // The result of a wait that an abort request ended; PollAbort set the status.
  StepResult Aborted() const;

  platform::Clock& clock_;
  CommLog& log_;
  StatusRegister& status_;
  platform::PortOpener opener_;
  const platform::CancelToken* abort_token_ = &platform::CancelToken::Never();
  int shields_ = 0;
  std::unique_ptr<platform::SerialPort> port_;
  std::string open_error_;
  int com_port_ = 1;
  bool abort_flag_ = false;
  bool echo_back_ = true;
  int baud_rate_ = 19200;
  std::uint32_t quiet_window_ = 10;
};

}  // namespace orgalink::link
