// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/json_input.h"

#include <algorithm>
#include <cstring>

namespace orgalink::exchange {

std::string TooLargeProblem(std::size_t limit) {
  return "larger than " + std::to_string(limit >> 20) +
         " MiB, far more than the export of any archive";
}

std::size_t JsonInput::Consumed() const {
  return chunk_start_ + static_cast<std::size_t>(gptr() - eback());
}

std::string JsonInput::PlaceOf(std::size_t offset) const {
  // A token that ends a chunk is told once the parser has looked past it.
  if (offset + 1 == chunk_start_) {
    return "line " + std::to_string(last_line_) + ", column " + std::to_string(last_column_);
  }
  std::size_t line = chunk_line_;
  std::size_t column = chunk_column_;
  const std::size_t in_chunk = std::min(offset - std::min(offset, chunk_start_),
                                        static_cast<std::size_t>(egptr() - eback()));
  for (std::size_t i = 0; i < in_chunk; ++i) {
    if (eback()[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Moves the place kept for the chunk's start to `end`, the start of the next.
void JsonInput::Advance(const char* end) {
  for (const char* byte = eback(); byte != end; ++byte) {
    last_line_ = chunk_line_;
    last_column_ = chunk_column_;
    if (*byte == '\n') {
      ++chunk_line_;
      chunk_column_ = 1;
    } else {
      ++chunk_column_;
    }
  }
  chunk_start_ += static_cast<std::size_t>(end - eback());
}

std::size_t JsonInput::WithinStrings(std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const char byte = chunk_[i];
    if (!in_string_) {
      in_string_ = byte == '"';
      string_bytes_ = 0;
      continue;
    }
    if (++string_bytes_ > MaxJsonStringBytes) {
      stop_ = Stop::LongString;
      return i;
    }
    if (escaped_) {
      escaped_ = false;
    } else if (byte == '\\') {
      escaped_ = true;
    } else if (byte == '"') {
      in_string_ = false;
    }
  }
  return size;
}

JsonInput::int_type JsonInput::underflow() {
  if (gptr() != nullptr && gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (stop_ != Stop::None) return traits_type::eof();
  if (eback() != nullptr) Advance(egptr());
  // One byte more than the limit tells a text that is too large.
  const std::size_t room = std::min(chunk_.size(), limit_ + 1 - chunk_start_);
  const std::optional<std::size_t> got = source_(chunk_.data(), room);
  if (!got) {
    stop_ = Stop::ReadError;
    stop_offset_ = chunk_start_;
    setg(chunk_.data(), chunk_.data(), chunk_.data());
    return traits_type::eof();
  }
  std::size_t size = *got;
  if (chunk_start_ + size > limit_) {
    stop_ = Stop::TooLarge;
    size = limit_ - chunk_start_;
  }
  const char* zero = static_cast<const char*>(std::memchr(chunk_.data(), '\0', size));
  if (zero != nullptr) {
    stop_ = Stop::ZeroByte;
    size = static_cast<std::size_t>(zero - chunk_.data());
  }
  size = WithinStrings(size);
  if (stop_ != Stop::None) stop_offset_ = chunk_start_ + size;
  setg(chunk_.data(), chunk_.data(), chunk_.data() + size);
  return size == 0 ? traits_type::eof() : traits_type::to_int_type(chunk_[0]);
}

}  // namespace orgalink::exchange
