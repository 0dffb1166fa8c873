#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "link/comm_log.h"
#include "link/command_code.h"
#include "link/link_status.h"
#include "link/step_result.h"
#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::link {

// The one object through which the program talks to the organizer: it owns
// the serial port, speaks the command protocol, keeps the status of the last
// step and writes the communication log.
class LinkEngine {
 public:
  explicit LinkEngine(platform::Clock& clock = platform::SystemClock::Instance());
  ~LinkEngine();
  LinkEngine(const LinkEngine&) = delete;
  LinkEngine& operator=(const LinkEngine&) = delete;

  // --- status and settings -------------------------------------------------
  void SetStatus(LinkStatus code, int port);
  LinkStatus Status() const { return status_; }
  bool AbortFlag() const { return abort_flag_ != 0; }

  void SetDeviceCode(int device_code);
  void SetBaudRate(std::string_view text);
  // Returns 1 when an old log of that name was removed.
  int SetLogFileName(const std::string& name);

  void SetComPort(int port) { com_port_ = port; }
  int ComPort() const { return com_port_; }
  int BaudRate() const { return baud_rate_; }
  void SetEchoBack(bool on) { echo_back_ = on ? 1 : 0; }
  int EchoBack() const { return echo_back_; }
  void SetTimeouts(long command_ms, long data_packet_ms, long multiplier_ms);
  // How long the input must stay quiet before a write, in ms: 10 by default,
  // more for adapters that deliver in bursts; cut to 1..1000.
  void SetQuietWindow(long ms);
  std::uint32_t QuietWindow() const { return quiet_window_; }
  long TOCommand() const { return to_command_; }
  long TODataPacket() const { return to_data_packet_; }
  long TOMultiplier() const { return to_multiplier_; }
  const std::string& LogFileName() const { return log_.FileName(); }
  std::uint8_t DeviceCodeHigh() const { return device_code_[0]; }
  std::uint8_t DeviceCodeLow() const { return device_code_[1]; }
  int ModelVariant() const { return model_variant_; }
  void SetModelVariant(int variant) { model_variant_ = variant; }

  platform::Clock& Clock() const { return clock_; }
  // The request to stop that every wait looks for; it must outlive the
  // engine's use of it. Without one nothing can stop a wait but its deadline.
  void SetAbortToken(const platform::CancelToken& token) { abort_token_ = &token; }
  const platform::CancelToken& AbortToken() const { return *abort_token_; }
  // How "COM%d" becomes a device; without one every open fails.
  void SetPortOpener(platform::PortOpener opener) { opener_ = std::move(opener); }
  // The system's reason for the last failed open, for the user's message.
  const std::string& OpenError() const { return open_error_; }

  // --- communication log ---------------------------------------------------
  // Writes `text` to the log, if one is configured. Returns 0 after a file error.
  int Log(std::string_view text, bool force_stamp = false);
  // printf-style convenience over Log.
  int LogFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // --- serial link ---------------------------------------------------------
  // Each step below hands back its status, which it also leaves in Status(),
  // together with the cause of a failure.
  StepResult OpenPort(int port = -1);
  int ClosePort();
  bool IsPortOpen() const { return port_ != nullptr; }
  int PurgePort();
  // Writes `bytes`; with echo on, reads them back and compares.
  StepResult WritePort(std::span<const std::uint8_t> bytes);
  StepResult WritePort(std::string_view text);
  // Fills `buffer` before `deadline`.
  StepResult ReadPort(std::span<std::uint8_t> buffer, platform::Tick deadline);
  // 1, with the abort flag and status 0 set, when an abort was requested.
  int PollAbort();
  StepResult WaitReceiveQueue(int count, platform::Tick deadline);
  StepResult DrainReceiveQueue(platform::Tick deadline);
  StepResult WaitSendQueue(platform::Tick deadline);
  platform::Tick Deadline(std::uint32_t ms) const { return platform::Deadline(clock_, ms); }
  // Deadline for a wait whose length comes from the settings, which nobody
  // range-checks: a negative length has passed at once, and one beyond
  // 2^31-1 ms, which a tick deadline cannot express, is cut to that.
  platform::Tick SettingDeadline(long ms) const {
    return Deadline(static_cast<std::uint32_t>(std::clamp<long>(ms, -1, INT32_MAX)));
  }
  bool Expired(platform::Tick deadline) const { return platform::Expired(clock_, deadline); }
  // Blocks until an abort is requested or `deadline` expires; for loops that
  // wait for time rather than for bytes.
  void WaitForAbortOrDeadline(platform::Tick deadline);

  // While one lives, the engine's waits pay no heed to the abort token, so
  // that what the organizer must hear whatever the user asks (the closing
  // NACK and END_COMMUNICATION) goes out, bounded by its own deadlines.
  class AbortShield {
   public:
    explicit AbortShield(LinkEngine& engine) : engine_(engine) { ++engine_.shields_; }
    ~AbortShield() { --engine_.shields_; }
    AbortShield(const AbortShield&) = delete;
    AbortShield& operator=(const AbortShield&) = delete;

   private:
    LinkEngine& engine_;
  };

  // --- command packets -----------------------------------------------------
  StepResult SendCommand(int code, int p1 = 0, int p2 = 0);
  StepResult WaitCommand(int expected, std::uint8_t* parameters_out = nullptr,
                         std::uint8_t* code_out = nullptr, long timeout = -1, long multiplier = -1);

 private:
  StepResult ReadAvailable(std::span<std::uint8_t> buffer);
  // The cause of a failed write; empty when the bytes went out.
  Cause TransmitBytes(std::span<const std::uint8_t> bytes, platform::Tick deadline);
  StepResult CheckEcho(std::span<const std::uint8_t> bytes);
  // The token the waits heed: none while an AbortShield lives.
  const platform::CancelToken& Heeded() const;
  // Sets `status` and hands it back with `cause`.
  StepResult Fail(LinkStatus status, Cause cause);
  // The result of a wait that an abort request ended; PollAbort set the status.
  StepResult Aborted() const;

  platform::Clock& clock_;
  platform::PortOpener opener_;
  const platform::CancelToken* abort_token_ = &platform::CancelToken::Never();
  int shields_ = 0;
  std::unique_ptr<platform::SerialPort> port_;
  std::string open_error_;
  int com_port_ = 1;
  int read_strategy_ = 0;
  LinkStatus status_ = LinkOk;
  int abort_flag_ = 0;
  int echo_back_ = 1;
  int baud_rate_ = 19200;
  long to_command_ = 30000;
  long to_data_packet_ = 30000;
  long to_multiplier_ = 0;
  std::uint32_t quiet_window_ = 10;
  CommLog log_;
  std::uint8_t device_code_[2] = {2, 0};
  int model_variant_ = -1;  // unknown until a PC-side negotiation ran
};

// Checksum of a frame: the plain byte sum; callers keep its low 8 bits.
unsigned Checksum(std::span<const std::uint8_t> bytes);

// True for the command codes a wait for any command accepts.
bool IsCommandCode(int code);

}  // namespace orgalink::link
