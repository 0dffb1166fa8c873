#include "link/link_engine.h"

#include <algorithm>
#include <cstdarg>

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
  return log_.Line(text, force_stamp);
}

int LinkEngine::LogFormat(const char* format, ...) {
  if (!log_.Enabled()) return 1;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return Log(text);
}

}  // namespace orgalink::link
