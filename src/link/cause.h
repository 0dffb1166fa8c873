// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::link {

// What made a step fail, for the user: the kind of failure with its facts,
// and a sentence that tells them. Empty when nothing failed or nothing is
// known.
class Cause {
 public:
  enum class Kind {
    None,
    System,     // a call to the system failed: `call` and `error` (errno)
    TimedOut,   // `awaited` did not come within `waitedMs`
    WrongData,  // a frame or byte was not `awaited`: `expected`, `received`
    Aborted,    // the user asked to stop
    File,       // an archive or other file could not be read or written
  };

  Cause() = default;

  // `call` names what was asked of the system ("reading from the port");
  // `message` is the system's own text when it came as text, otherwise the
  // text of `error`.
  static Cause System(std::string call, int error, std::string message = "");
  // `awaited` says what did not come ("ACK", "a data packet").
  static Cause TimedOut(std::string awaited, long waitedMs);
  // `awaited` names what was wrong ("checksum of a command"); a value below
  // 0 is not known and not told. `text`, when given, tells it instead.
  static Cause WrongData(std::string awaited, int expected, int received, std::string text = "");
  static Cause Aborted();
  // `text` is the system's or the store's message, `error` its errno if any.
  static Cause File(std::string text, int error = 0);

  Kind Type() const { return kind_; }
  bool Empty() const { return kind_ == Kind::None; }
  // The sentence shown to the user, without a full stop.
  const std::string& Text() const { return text_; }
  const std::string& Call() const { return call_; }
  // The system's message of a System or File cause ("Permission denied").
  const std::string& Detail() const { return detail_; }
  const std::string& Awaited() const { return awaited_; }
  int Error() const { return error_; }
  long WaitedMs() const { return waited_ms_; }
  int Expected() const { return expected_; }
  int Received() const { return received_; }

  friend bool operator==(const Cause&, const Cause&) = default;

 private:
  Kind kind_ = Kind::None;
  std::string text_;
  std::string call_;
  std::string awaited_;
  std::string detail_;
  int error_ = 0;
  long waited_ms_ = 0;
  int expected_ = -1;
  int received_ = -1;
};

}  // namespace orgalink::link
