#include "link/link_engine.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "link/text_format.h"
#include "platform/baud_rate.h"

namespace orgalink::link {

LinkEngine::LinkEngine(platform::Clock& clock) : clock_(clock), log_(clock) {}

LinkEngine::~LinkEngine() {
  ClosePort();
}

void LinkEngine::SetStatus(LinkStatus code, int port) {
  if (ToInt(status_) < -1 || ToInt(status_) > ToInt(LinkOk)) {
    status_ = LinkPortError;
  } else if (port == -1) {
    status_ = code;
  } else if (port >= 1 && port <= 4) {
    status_ = LinkStatus{code == LinkOk ? port : ToInt(LinkTimeout) + port};
  } else {
    status_ = LinkPortError;
  }
  if (status_ == LinkOk) failure_notes_.clear();
}

void LinkEngine::SetDeviceCode(int device_code) {
  device_code_[0] = device_code == 1 ? 1 : 2;
  device_code_[1] = 0;
}

void LinkEngine::SetBaudRate(std::string_view text) {
  baud_rate_ = platform::BaudFromText(text);
}

int LinkEngine::SetLogFileName(const std::string& name) {
  return log_.SetFileName(name);
}

void LinkEngine::SetTimeouts(long command_ms, long data_packet_ms, long multiplier_ms) {
  to_command_ = command_ms;
  to_data_packet_ = data_packet_ms;
  to_multiplier_ = multiplier_ms;
}

void LinkEngine::SetQuietWindow(long ms) {
  quiet_window_ = static_cast<std::uint32_t>(std::clamp<long>(ms, 1, 1000));
}

int LinkEngine::Log(std::string_view text, bool force_stamp) {
  NoteFailure(text);
  return log_.Line(text, force_stamp);
}

int LinkEngine::LogFormat(const char* format, ...) {
  // Failure lines are kept for the user even when nothing is logged.
  if (!log_.Enabled() && std::strstr(format, "!!!") == nullptr) return 1;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return Log(text);
}

// "!!!Checksum Err\n\n" is kept as "Checksum Err", "<<<<<<!!!NO Receive(...)"
// as "NO Receive(...)". Noise repeats a line many times; it is kept once, and
// a failure that cascades through many lines keeps only its first few.
void LinkEngine::NoteFailure(std::string_view text) {
  constexpr std::size_t kMostNotes = 4;
  const auto marker = text.find("!!!");
  if (marker == std::string_view::npos || failure_notes_.size() >= kMostNotes) return;
  std::string_view note = text.substr(marker + 3);
  note = note.substr(0, note.find('\n'));
  while (!note.empty() && (note.front() == '-' || note.front() == ' ')) note.remove_prefix(1);
  while (!note.empty() && note.back() == ' ') note.remove_suffix(1);
  if (note.empty()) return;
  for (const std::string& known : failure_notes_) {
    if (known == note) return;
  }
  failure_notes_.emplace_back(note);
}

}  // namespace orgalink::link
