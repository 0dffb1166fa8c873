// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/standard_output.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <streambuf>

#include "platform/write_all.h"

namespace orgalink::platform {

namespace {

// What the streams of the C and C++ libraries hold goes first.
int FlushLibraryStreams() {
  std::cout.flush();
  return std::fflush(stdout) == 0 ? 0 : errno;
}

}  // namespace

int WriteStandardOutput(std::string_view bytes) {
  if (const int error = FlushLibraryStreams()) return error;
  return WriteAll(STDOUT_FILENO, bytes);
}

class CheckedStandardOutput::Buffer : public std::streambuf {
 public:
  Buffer() : by_line_(isatty(STDOUT_FILENO) == 1) {
    error_ = FlushLibraryStreams();
    setp(held_.data(), held_.data() + held_.size());
  }

  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (WriteHeld() != 0) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    if (by_line_ && traits_type::to_char_type(c) == '\n' && WriteHeld() != 0) {
      return traits_type::eof();
    }
    return c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const std::streamsize put = std::streambuf::xsputn(text, count);
    if (by_line_ && std::string_view(text, static_cast<std::size_t>(put)).find('\n') !=
                        std::string_view::npos) {
      WriteHeld();
    }
    return put;
  }

  int sync() override { return WriteHeld() == 0 ? 0 : -1; }

 private:
  int WriteHeld() {
    const std::string_view held(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    if (error_ == 0) error_ = WriteAll(STDOUT_FILENO, held);
    setp(held_.data(), held_.data() + held_.size());
    return error_;
  }

  std::array<char, 1 << 16> held_{};
  bool by_line_;
  int error_ = 0;
};

CheckedStandardOutput::CheckedStandardOutput()
    : std::ostream(nullptr), buffer_(std::make_unique<Buffer>()) {
  rdbuf(buffer_.get());
}

CheckedStandardOutput::~CheckedStandardOutput() {
  // Whoever did not call Finish() loses no bytes, only the verdict.
  flush();
}

int CheckedStandardOutput::Finish() {
  flush();
  return buffer_->Error();
}

}  // namespace orgalink::platform
