// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "store/code_tables.h"

namespace orgalink::store {

// A record entering the store: each text byte 0x7F..0xFE becomes the
// computer's code for it. The first TextOffset(kind) bytes are binary fields
// and stay as they are.
void FromDeviceCodes(const CodeTable& incoming, std::uint8_t kind, std::span<std::uint8_t> record);
// A record leaving the store: each text byte 0x7F..0xFE becomes the
// organizer's code for it, then whatever the organizer cannot show
// (0x01..0x1F, 0xC0..0xFE) becomes a space. 0x00 and 0xFF always pass.
void ToDeviceCodes(const CodeTable& outgoing, std::uint8_t kind, std::span<std::uint8_t> record);

}  // namespace orgalink::store
