// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace orgalink::transfer {

// Application codes as they travel in a DataPacket; equal to the AppliKind.
inline constexpr std::uint8_t TelephoneCode = 5;
inline constexpr std::uint8_t ExpenseCategoryCode = 6;

// The code that goes on the line for an application: 0..6 unchanged, anything
// else (such as store::AllApplis) becomes 0xFF.
std::uint8_t AppliCode(int kind);

// True for the bytes that open a DataPacket.
bool IsAppliCode(int byte);

}  // namespace orgalink::transfer
