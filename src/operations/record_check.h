// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "store/appli_store.h"

namespace orgalink::operations {

// Index of the first record of a received stream of `kind` that an archive
// could not give back: one that holds 0xFF, the records' terminator, once
// the store has taken it into the computer's codes, or once those are turned
// back into the organizer's for the file. -1 when every record is sound.
int FirstUnstorableRecord(const store::AppliStore& store, std::uint8_t kind,
                          std::span<const std::uint8_t> stream);

}  // namespace orgalink::operations
