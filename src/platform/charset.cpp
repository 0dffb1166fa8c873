// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/charset.h"

#include <iconv.h>

#include <cerrno>

namespace orgalink::platform {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One direction of the converter, closed when it goes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return cd_ != kNoConverter; }

  // Converts the whole of `input`; false at the first sequence the converter
  // refuses, with its offset in `bad_at`.
  bool Convert(std::string_view input, std::string& output, std::size_t* bad_at) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    output.assign(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    std::size_t produced = 0;
    for (bool flushing = false;;) {
      char* out = output.data() + produced;
      std::size_t out_left = output.size() - produced;
      // A null input asks for the sequence that returns to the initial state.
      const std::size_t result = flushing ? iconv(cd_, nullptr, nullptr, &out, &out_left)
                                          : iconv(cd_, &in, &in_left, &out, &out_left);
      produced = output.size() - out_left;
      if (result != static_cast<std::size_t>(-1)) {
        if (flushing) break;
        flushing = true;
      } else if (errno == E2BIG) {
        output.resize(output.size() * 2);
      } else {
        if (bad_at != nullptr) *bad_at = input.size() - in_left;
        return false;
      }
    }
    output.resize(produced);
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

struct Charset::Handles {
  explicit Handles(const std::string& name)
      : to_utf8("UTF-8", name.c_str()), from_utf8(name.c_str(), "UTF-8") {}
  Converter to_utf8;
  Converter from_utf8;
};

Charset::Charset(std::string name) : name_(std::move(name)) {
  auto handles = std::make_unique<Handles>(name_);
  if (handles->to_utf8.IsOpen() && handles->from_utf8.IsOpen()) handles_ = std::move(handles);
}

Charset::~Charset() = default;

std::optional<std::string> Charset::ToUtf8(std::span<const std::uint8_t> bytes) {
  if (!handles_) return std::nullopt;
  std::string text;
  const std::string_view input(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!handles_->to_utf8.Convert(input, text, nullptr)) return std::nullopt;
  return text;
}

std::optional<std::vector<std::uint8_t>> Charset::FromUtf8(std::string_view text,
                                                           std::size_t* bad_at) {
  if (!handles_) return std::nullopt;
  std::string encoded;
  if (!handles_->from_utf8.Convert(text, encoded, bad_at)) return std::nullopt;
  return std::vector<std::uint8_t>(encoded.begin(), encoded.end());
}

}  // namespace orgalink::platform
