// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orgalink::store {

// Bytes as upper-case hex digits, two a byte, with no separator.
std::string ToHex(std::span<const std::uint8_t> bytes);
// The bytes of hex digits in either case; spaces between bytes are allowed.
// False for any other character or an odd digit.
bool FromHex(std::string_view hex, std::vector<std::uint8_t>& bytes);

}  // namespace orgalink::store
