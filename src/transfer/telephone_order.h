// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "store/code_tables.h"

namespace orgalink::transfer {

// The base organizer model sometimes ends a Telephone transfer early without
// saying so; records arriving out of the organizer's own sort order reveal it.

// Takes the sort key of a Telephone record (its bytes from the second one on,
// up to the first zero byte, at most 49), translated to the computer's codes.
// Returns false when `compare` is set and the key sorts before the previous
// record's key. Only a key that passes is remembered for the next record; a
// failing one ends the transfer and leaves the previous key as it was.
bool TelephoneKeyInOrder(std::span<const std::uint8_t> record, bool compare,
                         const store::SortTable* weights, const store::CodeTable* incoming);

// Forgets the previous key, which otherwise lives for the whole process.
void ResetPreviousTelephoneKey();

}  // namespace orgalink::transfer
