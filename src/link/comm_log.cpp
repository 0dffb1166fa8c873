// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/comm_log.h"

#include <atomic>
#include <cstdarg>
#include <filesystem>

#include "link/text_format.h"

namespace orgalink::link {
namespace {

// Tick of the last absolute stamp, shared by every engine of the process;
// 0 means no stamp has been written yet.
std::atomic<platform::Tick> time_reference{0};

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Header(platform::Clock& clock, bool force_stamp) {
  const platform::Tick now = clock.Now();
  const platform::Tick reference = time_reference.load();
  if (reference == 0 || force_stamp) {
    time_reference.store(now == 0 ? 1 : now);
    return "{" + clock.LocalTime("%d/%m/%y %H:%M:%S") + "}\r\n";
  }
  return Format("{+%07d}", static_cast<int>(now - reference));
}

}  // namespace

// Only a file is removed: a folder given by mistake stays, and the entries
// then fail on their own.
bool CommLog::SetFileName(const std::string& name) {
  file_.SetPath(name);
  if (name.empty()) return false;
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return false;
  return std::filesystem::remove(name, error);
}

bool CommLog::Line(std::string_view text, bool force_stamp) {
  if (!Enabled()) return true;
  return Write(Header(clock_, force_stamp) + WithCrLf(text));
}

bool CommLog::HexDump(std::span<const std::uint8_t> bytes) {
  if (!Enabled()) return true;
  std::string dump = "[ ";
  for (const std::uint8_t byte : bytes) dump += link::Format("%02x ", byte);
  dump += "]\r\n";
  return Write(dump);
}

bool CommLog::Write(const std::string& bytes) {
  return file_.Append(bytes.data(), bytes.size());
}

void ResetLogTimeReference() {
  time_reference.store(0);
}

bool CommLog::Format(const char* format, ...) {
  if (!Enabled()) return true;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return Line(text);
}

}  // namespace orgalink::link
