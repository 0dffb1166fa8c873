// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orgalink::platform {

// The character set most archives are read in: the one of the shipped
// character tables.
inline constexpr std::string_view DefaultCharset = "ISO-8859-1";

// Conversions between one character set of the system's converter (iconv)
// and UTF-8. Each call starts from the initial shift state, so the result
// never depends on an earlier call. Not for use by two threads at once.
class Charset {
 public:
  // Opens both directions for `name`; IsOpen() tells whether the converter
  // knows it.
  explicit Charset(std::string name);
  ~Charset();
  Charset(const Charset&) = delete;
  Charset& operator=(const Charset&) = delete;

  bool IsOpen() const { return handles_ != nullptr; }
  const std::string& Name() const { return name_; }

  // `bytes` as UTF-8; nothing when some of them have no character in the set.
  std::optional<std::string> ToUtf8(std::span<const std::uint8_t> bytes);
  // UTF-8 `text` in the set; nothing when it holds a character the set
  // cannot encode (or is not UTF-8), with that character's offset in `bad_at`.
  std::optional<std::vector<std::uint8_t>> FromUtf8(std::string_view text, std::size_t* bad_at);

 private:
  struct Handles;

  std::string name_;
  std::unique_ptr<Handles> handles_;
};

}  // namespace orgalink::platform
