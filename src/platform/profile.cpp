#include "platform/profile.h"

#include <climits>
#include <cstdint>
#include <optional>

#include "platform/file_contents.h"
#include "platform/ini_document.h"

namespace orgalink::platform {

namespace {

std::optional<std::string> ReadValue(const std::string& file, const std::string& section,
                                     const std::string& key) {
  std::string text;
  if (ReadFileContents(file, text) != ReadOutcome::Read) return std::nullopt;
  return IniDocument::Parse(text).Get(section, key);
}

// The leading decimal integer of `text`, an optional sign first; 0 when no
// digit follows. Values beyond the range of int stop at its limits.
int LeadingInteger(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > std::int64_t{INT_MAX} + 1) magnitude = std::int64_t{INT_MAX} + 1;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

}  // namespace

int GetProfileInt(const std::string& file, const std::string& section, const std::string& key,
                  int default_value) {
  std::optional<std::string> value = ReadValue(file, section, key);
  // A key with nothing after "=" counts as absent, as the platform's own
  // profile functions have it.
  if (!value || value->empty()) return default_value;
  return LeadingInteger(*value);
}

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& default_value) {
  return ReadValue(file, section, key).value_or(default_value);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  std::string text;
  // An existing file that cannot be read must not be replaced by one that
  // holds just this key.
  if (ReadFileContents(file, text) == ReadOutcome::Failed) return false;
  IniDocument document = IniDocument::Parse(text);
  document.Set(section, key, value);
  return ReplaceFileContents(file, document.Text());
}

}  // namespace orgalink::platform
