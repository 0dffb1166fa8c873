// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive_sink.h"

namespace orgalink::store {

namespace {
// Bytes gathered before they go to the output in one piece.
constexpr std::size_t kChunk = 64 * 1024;
}  // namespace

bool ArchiveSink::Flush() {
  if (ok_ && !buffer_.empty()) ok_ = output_(buffer_);
  buffer_.clear();
  return ok_;
}

void ArchiveSink::Append(std::span<const std::uint8_t> bytes, bool invert) {
  if (!ok_) return;
  const std::size_t start = buffer_.size();
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  if (invert) {
    for (std::size_t i = start; i < buffer_.size(); ++i) {
      buffer_[i] = static_cast<std::uint8_t>(~buffer_[i]);
    }
  }
  if (buffer_.size() >= kChunk) Flush();
}

}  // namespace orgalink::store
