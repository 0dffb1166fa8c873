// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <ostream>
#include <string_view>

namespace orgalink::platform {

// Writes `bytes` to standard output, after whatever the C and C++ streams
// still hold for it. Returns 0, or the error number of the write that
// failed (ENOSPC on a full disk, EPIPE for a reader that has gone).
int WriteStandardOutput(std::string_view bytes);

// Standard output as a stream whose every write is checked: the first
// failure is kept and what follows it is dropped. On a terminal each line
// goes out as it ends, so that it keeps its order with standard error.
class CheckedStandardOutput : public std::ostream {
 public:
  CheckedStandardOutput();
  ~CheckedStandardOutput() override;
  CheckedStandardOutput(const CheckedStandardOutput&) = delete;
  CheckedStandardOutput& operator=(const CheckedStandardOutput&) = delete;

  // Writes out what is held. Returns 0, or the error number of the first
  // write that failed.
  int Finish();

 private:
  class Buffer;
  std::unique_ptr<Buffer> buffer_;
};

}  // namespace orgalink::platform
