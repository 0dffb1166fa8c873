// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/append_file.h"
#include "platform/clock.h"

namespace orgalink::link {

// The communication log: a plain text file with CR LF line ends, one per
// communication. The file stays open from one entry to the next, and every
// entry reaches the file before the call returns, so that the log is complete
// up to the last entry even if the program stops. Without a file name every
// call does nothing and succeeds.
class CommLog {
 public:
  explicit CommLog(platform::Clock& clock) : clock_(clock) {}
  CommLog(const CommLog&) = delete;
  CommLog& operator=(const CommLog&) = delete;

  // Names the log and removes any earlier file of that name, so that the
  // communication starts a new log. True when a file was removed; a name
  // that cannot be removed (missing, a folder) gives false and is appended to.
  bool SetFileName(const std::string& name);
  const std::string& FileName() const { return file_.Path(); }
  bool Enabled() const { return !file_.Path().empty(); }

  // Writes one entry: a time stamp header, then `text` with each "\n" written
  // as CR LF. The header is the absolute local time "{dd/mm/yy HH:MM:SS}" CR
  // LF on the first entry of the process or when `force_stamp` is set,
  // otherwise the milliseconds since that stamp as "{+%07d}". Returns false
  // after a file error, which loses that entry only.
  bool Line(std::string_view text, bool force_stamp = false);
  // printf-style convenience over Line; formats nothing without a file.
  bool Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Appends "[ " , "%02x " per byte and "]" CR LF, without a header.
  bool HexDump(std::span<const std::uint8_t> bytes);

 private:
  bool Write(const std::string& bytes);

  platform::Clock& clock_;
  platform::AppendFile file_;
};

// Forgets the process-wide time reference, so that the next entry carries an
// absolute stamp again. For tests, which run many communications in one process.
void ResetLogTimeReference();

}  // namespace orgalink::link
