// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <streambuf>
#include <string>

namespace orgalink::exchange {

// Fills `buffer` with up to `size` bytes of the JSON text: the count, 0 at
// its end, or nothing when reading failed.
using JsonSource = std::function<std::optional<std::size_t>(char* buffer, std::size_t size)>;

// More than any export holds by far (the largest valid archive gives a few
// MB), yet small enough that a hostile text cannot exhaust the memory.
inline constexpr std::size_t MaxJsonBytes = std::size_t{64} << 20;

// No string of an export comes near this (a record holds at most 1023
// bytes, whose hex or escaped text is a few KB), yet the parser would hold
// a longer one twice over in memory.
inline constexpr std::size_t MaxJsonStringBytes = std::size_t{1} << 20;

// The refusal of a text larger than `limit`.
std::string TooLargeProblem(std::size_t limit = MaxJsonBytes);

// The bytes of a JSON text for the parser, which reads them one at a time.
// It ends the text early, and says why, at a read error, past MaxJsonBytes,
// inside a string longer than MaxJsonStringBytes, and at a zero byte: the
// parser would take that for the end of the text and pass over whatever
// follows. It also tells the line and column of any byte it has handed out.
class JsonInput : public std::streambuf {
 public:
  enum class Stop { None, ReadError, TooLarge, LongString, ZeroByte };

  explicit JsonInput(JsonSource source, std::size_t limit = MaxJsonBytes)
      : source_(std::move(source)), limit_(limit) {}

  std::size_t Limit() const { return limit_; }
  Stop Stopped() const { return stop_; }
  // Where the text was ended early: the offset of the byte not handed out.
  std::size_t StopOffset() const { return stop_offset_; }
  // The bytes handed out so far.
  std::size_t Consumed() const;
  // "line L, column C" of the byte at `offset` (counted from 0), which must
  // be in the current chunk or the last byte before it (an earlier one is
  // told as the chunk's first); columns count bytes from 1.
  std::string PlaceOf(std::size_t offset) const;

 protected:
  int_type underflow() override;

 private:
  void Advance(const char* end);
  // The bytes of the chunk's first `size` that do not end a string too long.
  std::size_t WithinStrings(std::size_t size);

  JsonSource source_;
  std::size_t limit_;
  std::array<char, 1 << 16> chunk_{};
  // The offset, line and column of the chunk's first byte.
  std::size_t chunk_start_ = 0;
  std::size_t chunk_line_ = 1;
  std::size_t chunk_column_ = 1;
  // The place of the last byte before the chunk.
  std::size_t last_line_ = 1;
  std::size_t last_column_ = 1;
  Stop stop_ = Stop::None;
  std::size_t stop_offset_ = 0;
  // Where the bytes handed out leave off: inside a string (and after a
  // backslash), and how long that string is so far.
  bool in_string_ = false;
  bool escaped_ = false;
  std::size_t string_bytes_ = 0;
};

}  // namespace orgalink::exchange
