// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace orgalink::store {

// Collects an archive's bytes and hands them on in chunks of a fixed size, so
// that a large store never needs the whole file in memory. Body bytes are
// complemented when the archive is inverted; header bytes never are. After
// the output has refused a chunk everything further is dropped.
class ArchiveSink {
 public:
  using Output = std::function<bool(std::span<const std::uint8_t> chunk)>;

  ArchiveSink(Output output, bool invert) : output_(std::move(output)), invert_(invert) {}

  void Header(std::span<const std::uint8_t> bytes) { Append(bytes, false); }
  void Body(std::span<const std::uint8_t> bytes) { Append(bytes, invert_); }
  // Hands on what is still held; false once the output has refused anything.
  bool Flush();
  bool Ok() const { return ok_; }

 private:
  void Append(std::span<const std::uint8_t> bytes, bool invert);

  Output output_;
  bool invert_;
  bool ok_ = true;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace orgalink::store
