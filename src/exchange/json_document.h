// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "exchange/json_input.h"

namespace orgalink::exchange {

// No export nests deeper than 6 levels (an archive, its sections, a
// section, its records, a record, its text); a deeper text is refused long
// before it could exhaust the stack of whatever walks it.
inline constexpr std::size_t MaxJsonDepth = 16;

// An export of the fullest archive holds under 4 million values (7
// applications of at most 65535 records and 256,000 bytes, each byte at
// most a field of its own); a text of small values beyond this would cost
// many times its size in memory.
inline constexpr std::size_t MaxJsonValues = std::size_t{8} << 20;

// Reads one JSON text from `input` without recursion, refusing what the
// library would take silently or dangerously: nesting deeper than
// MaxJsonDepth, more than `max_values` values, a key that occurs twice in
// an object, a zero character
// ("\u0000") in a string (a field of the archive ends there), a number too
// large for a double, and anything after the text. False, with the place
// (line and column, and the JSON path where there is one) and what is wrong
// in `problem`, quoting at most ShownBytes of any value.
bool ReadJsonDocument(JsonInput& input, nlohmann::json& document, std::string& problem,
                      std::size_t max_values = MaxJsonValues);

}  // namespace orgalink::exchange
