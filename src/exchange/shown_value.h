// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace orgalink::exchange {

// At most this many bytes of a value go into a message: enough to find it,
// and a wrong value of any size still gives a message of one short line.
inline constexpr std::size_t ShownBytes = 40;

// `text` as a JSON string, cut after ShownBytes bytes (at a character's
// start), with the whole size told when it was cut.
std::string ShownText(std::string_view text);

// A value for a message: a string as ShownText gives it, a list or an
// object by what it is, anything else as JSON.
std::string Shown(const nlohmann::json& value);

}  // namespace orgalink::exchange
