// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/cause.h"

#include <cstring>

#include "link/text_format.h"

namespace orgalink::link {

Cause Cause::System(std::string call, int error, std::string message) {
  Cause cause;
  cause.kind_ = Kind::System;
  cause.error_ = error;
  cause.detail_ = !message.empty() ? std::move(message) : error != 0 ? std::strerror(error) : "";
  cause.text_ = cause.detail_.empty() ? call + " failed" : call + ": " + cause.detail_;
  cause.call_ = std::move(call);
  return cause;
}

Cause Cause::TimedOut(std::string awaited, long waitedMs) {
  Cause cause;
  cause.kind_ = Kind::TimedOut;
  cause.waited_ms_ = waitedMs;
  cause.text_ = Format("%s did not come within %ld ms", awaited.c_str(), waitedMs);
  cause.awaited_ = std::move(awaited);
  return cause;
}

Cause Cause::WrongData(std::string awaited, int expected, int received, std::string text) {
  Cause cause;
  cause.kind_ = Kind::WrongData;
  cause.expected_ = expected;
  cause.received_ = received;
  cause.awaited_ = std::move(awaited);
  if (!text.empty()) {
    cause.text_ = std::move(text);
    return cause;
  }
  cause.text_ = "wrong " + cause.awaited_;
  if (expected >= 0) cause.text_ += Format(": expected 0x%02X", static_cast<unsigned>(expected));
  if (received >= 0) {
    cause.text_ +=
        Format("%s received 0x%02X", expected >= 0 ? "," : ":", static_cast<unsigned>(received));
  }
  return cause;
}

Cause Cause::Aborted() {
  Cause cause;
  cause.kind_ = Kind::Aborted;
  cause.text_ = "the user asked to stop";
  return cause;
}

Cause Cause::File(std::string text, int error) {
  Cause cause;
  cause.kind_ = Kind::File;
  cause.error_ = error;
  cause.detail_ = error != 0 ? std::strerror(error) : "";
  cause.text_ = std::move(text);
  return cause;
}

}  // namespace orgalink::link
