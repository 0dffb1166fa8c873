// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/failure_advice.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <system_error>

#include "ui/port_refusal.h"

namespace orgalink::ui {

namespace {

// An open error names the device before the system's text
// ("/dev/ttyS9: No such file or directory").
bool IsSystemError(const std::string& text, std::initializer_list<std::errc> errors) {
  const std::size_t colon = text.rfind(": ");
  const std::string system = colon == std::string::npos ? text : text.substr(colon + 2);
  return std::any_of(errors.begin(), errors.end(), [&](std::errc error) {
    return system == std::make_error_code(error).message();
  });
}

bool IsAbout(const link::Cause& cause, std::string_view subject) {
  return cause.Awaited().find(subject) != std::string::npos;
}

// The hints, most specific first: a port that did not open says more than
// the lines logged after it.
const char* HintFor(const FailureFacts& facts, RestoreFront front) {
  const bool dialog = front == RestoreFront::Dialog;
  const link::Cause& cause = facts.cause;
  const std::string system = cause.Type() == link::Cause::Kind::System ? cause.Detail() : "";
  if (RefusedAccess(system)) return kJoinPortGroupHint;
  if (system.find("held by orgalink watch") != std::string::npos) {
    return "watch makes a backup at each PC-LINK press by itself; to use the port otherwise, "
           "stop it first (systemctl --user stop orgalink-watch, when it runs as that service)";
  }
  if (IsSystemError(system,
                    {std::errc::device_or_resource_busy, std::errc::resource_unavailable_try_again,
                     std::errc::operation_would_block})) {
    return "another program holds the port; end it or wait until it lets go";
  }
  if (IsSystemError(system, {std::errc::no_such_file_or_directory, std::errc::no_such_device,
                             std::errc::no_such_device_or_address})) {
    return dialog ? "check the port: choose it with COM port... or Auto Detect"
                  : "check the port: --port, or COMPort and [Ports] in the settings file";
  }
  if (IsAbout(cause, "echo")) {
    return dialog ? "check that the cable is plugged in; a cable that does not echo needs "
                    "EchoBack=0 in the settings file"
                  : "check that the cable is plugged in; a cable that does not echo needs "
                    "--echo 0 (EchoBack=0)";
  }
  if (IsAbout(cause, "BKTelRecordsMin")) {
    return dialog ? "if the organizer holds no more Telephone records than that, lower "
                    "BKTelRecordsMin in the settings file below their number; 1 is the usual value"
                  : "if the organizer holds no more Telephone records than that, lower "
                    "BKTelRecordsMin in the settings file (or give --tel-min) below their "
                    "number; 1 is the usual value";
  }
  if (IsAbout(cause, "device code")) {
    return dialog ? "check the DeviceCode setting in the settings file"
                  : "check the DeviceCode setting (--device-code)";
  }
  if (facts.status == link::LinkTimeout || cause.Type() == link::Cause::Kind::TimedOut) {
    return dialog ? "press the organizer's PC-LINK button, or check the port (COM port...)"
                  : "press the organizer's PC-LINK button, or check the port (--port)";
  }
  return nullptr;
}

}  // namespace

std::string FailureAdvice(const FailureFacts& facts, RestoreFront front) {
  if (facts.status == link::LinkOk || facts.status == link::LinkAborted ||
      facts.status == link::LinkFileReadCancelled) {
    return "";
  }
  std::string line;
  if (!facts.cause.Text().empty()) line = "Cause: " + facts.cause.Text() + ".";
  if (const char* hint = HintFor(facts, front)) {
    if (!line.empty()) line += " ";
    line += std::string("Try: ") + hint + ".";
  }
  return line;
}

}  // namespace orgalink::ui
