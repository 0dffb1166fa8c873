// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace orgalink::store {

// Result of every AppliStore operation: 0 or one of the negative codes below.
// A type of its own so that it never passes for a LinkStatus or a count.
enum class StoreResult : int {};

constexpr int ToInt(StoreResult result) {
  return static_cast<int>(result);
}

inline constexpr StoreResult StoreOk{0};
// A file could not be opened or read, or memory ran out.
inline constexpr StoreResult StoreFailed{-1};
// The archive's magic is neither "IM2BK0" nor "IM2BK1".
inline constexpr StoreResult StoreBadMagic{-2};
// The archive's device code differs from the store's.
inline constexpr StoreResult StoreWrongDevice{-3};
// A missing argument, a capacity exceeded, or a write or disk-space failure.
inline constexpr StoreResult StoreRejected{-4};
// No slot carries the application, or there is no slot table.
inline constexpr StoreResult StoreNoAppli{-5};
// Neither a slot of the application nor an unused slot exists.
inline constexpr StoreResult StoreNoSlot{-6};
// No unused slot, or no slot table.
inline constexpr StoreResult StoreFull{-7};
// Two in-use slots carry the same application.
inline constexpr StoreResult StoreDuplicate{-8};
// No slot table, a record without terminator, or a malformed archive.
inline constexpr StoreResult StoreInvalid{-9};

// Prints the number, for test failure messages.
std::ostream& operator<<(std::ostream& out, StoreResult result);

}  // namespace orgalink::store
