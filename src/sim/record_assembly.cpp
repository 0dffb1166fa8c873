// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/record_assembly.h"

#include <algorithm>

#include "store/appli_kind.h"
#include "store/record.h"

namespace orgalink::sim {

namespace {

// Records only go in through SEND_1_RECORD for applications 0..5; the
// category table has a command of its own.
bool TakesRecords(std::uint8_t appli) {
  return appli < store::ExpenseCategory;
}

bool HoldsTerminator(const Frame& packet) {
  return std::find(packet.Contents(), packet.Contents() + packet.Length(),
                   store::RecordTerminator) != packet.Contents() + packet.Length();
}

}  // namespace

RecordAssembly::Result RecordAssembly::Add(const Frame& packet) {
  if (packet.Length() == 0 || HoldsTerminator(packet)) return Refuse();
  if (packet.Position() == PositionFirst) return Start(packet);
  return Continue(packet);
}

void RecordAssembly::Reset() {
  open_ = false;
  record_.clear();
}

// A first packet always begins a new record; a record left unfinished is
// dropped.
RecordAssembly::Result RecordAssembly::Start(const Frame& packet) {
  Reset();
  const std::size_t size = packet.RecordSize();
  if (!TakesRecords(packet.Appli()) || size > store::MaxRecordLength ||
      packet.Length() != std::min(size, kFirstContents)) {
    return Refuse();
  }
  appli_ = packet.Appli();
  size_ = size;
  record_.assign(packet.Contents(), packet.Contents() + packet.Length());
  open_ = record_.size() < size_;
  return open_ ? Result::Partial : Result::Complete;
}

RecordAssembly::Result RecordAssembly::Continue(const Frame& packet) {
  if (!open_ || packet.Appli() != appli_ || packet.RecordSize() != size_) return Refuse();
  const std::size_t left = size_ - record_.size();
  const bool fits = packet.Position() == PositionMiddle
                        ? packet.Length() == kMaxContents && left > kMaxContents
                        : packet.Position() == PositionLast && packet.Length() == left;
  if (!fits) return Refuse();
  record_.insert(record_.end(), packet.Contents(), packet.Contents() + packet.Length());
  open_ = record_.size() < size_;
  return open_ ? Result::Partial : Result::Complete;
}

RecordAssembly::Result RecordAssembly::Refuse() {
  Reset();
  return Result::Refused;
}

}  // namespace orgalink::sim
