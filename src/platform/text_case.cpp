// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_case.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

namespace orgalink::platform {

namespace {

// The C library's Unicode character tables; ASCII rules alone when the
// system lacks them.
class UnicodeLocale {
 public:
  UnicodeLocale() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {}
  ~UnicodeLocale() {
    if (locale_ != nullptr) freelocale(locale_);
  }
  UnicodeLocale(const UnicodeLocale&) = delete;
  UnicodeLocale& operator=(const UnicodeLocale&) = delete;

  char32_t Lower(char32_t c) const {
    if (locale_ != nullptr)
      return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale_));
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
  }

 private:
  locale_t locale_;
};

// Length of the UTF-8 sequence that starts with `lead`; 0 for a byte that
// cannot start one.
std::size_t SequenceLength(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The code point of the sequence at `text`, or nothing when it is cut short
// or malformed.
bool Decode(std::string_view text, std::size_t length, char32_t& c) {
  if (length == 0 || length > text.size()) return false;
  const auto lead = static_cast<std::uint8_t>(text[0]);
  c = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[i]);
    if ((next & 0xC0) != 0x80) return false;
    c = c << 6 | (next & 0x3F);
  }
  return true;
}

void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  static constexpr std::uint8_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[tail] | c >> (6 * tail));
  for (int i = tail - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

}  // namespace

std::string LowerCase(std::string_view utf8) {
  static const UnicodeLocale unicode;
  std::string lower;
  lower.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t length = SequenceLength(static_cast<std::uint8_t>(utf8[0]));
    char32_t c = 0;
    if (Decode(utf8, length, c)) {
      Encode(unicode.Lower(c), lower);
      utf8.remove_prefix(length);
    } else {
      lower += utf8[0];
      utf8.remove_prefix(1);
    }
  }
  return lower;
}

}  // namespace orgalink::platform
