// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/shown_value.h"

namespace orgalink::exchange {

std::string ShownText(std::string_view text) {
  std::size_t size = std::min(text.size(), ShownBytes);
  // A UTF-8 continuation byte would leave half a character.
  while (size < text.size() && size > 0 &&
         (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
    --size;
  }
  const std::string quoted = nlohmann::json(std::string(text.substr(0, size)))
                                 .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  if (size == text.size()) return quoted;
  return quoted + "... (" + std::to_string(text.size()) + " bytes)";
}

std::string Shown(const nlohmann::json& value) {
  if (value.is_string()) return ShownText(value.get_ref<const std::string&>());
  if (value.is_array()) return "a list";
  if (value.is_object()) return "an object";
  return value.dump();
}

}  // namespace orgalink::exchange
