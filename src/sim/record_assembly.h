// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "sim/frames.h"
#include "sim/organizer_contents.h"

namespace orgalink::sim {

// Puts a record back together from the PC's packets, by the position byte.
// The organizer is strict: every packet must be cut the way the protocol
// cuts records (241 bytes first, 252 in the middle, the rest last) and carry
// the same application and record size as the ones before it, so a PC that
// cuts or labels records wrongly is refused instead of filed.
class RecordAssembly {
 public:
  enum class Result { Partial, Complete, Refused };

  // Takes one intact packet. After Complete, TakeRecord() and Appli() give the
  // record; after Refused the half-built record is gone.
  Result Add(const Frame& packet);
  void Reset();

  std::uint8_t Appli() const { return appli_; }
  Record& TakeRecord() { return record_; }

 private:
  Result Start(const Frame& packet);
  Result Continue(const Frame& packet);
  Result Refuse();

  bool open_ = false;
  std::uint8_t appli_ = 0;
  std::size_t size_ = 0;
  Record record_;
};

}  // namespace orgalink::sim
