// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_check.h"

#include <charconv>

namespace orgalink::ui {

namespace {

// The keys read as integers, in the order of the file.
constexpr const char* kIntegerKeys[] = {"COMPort",      "EchoBack",        "FileScramble",
                                        "DeviceCode",   "TOCommand",       "TODataPacket",
                                        "TOMultiplier", "BKTelRecordsMin", "QuietWindow",
                                        "SafetyBackup", "VerifyRestore"};

constexpr const SettingRange* kRanges[] = {&kTOCommandRange, &kTODataPacketRange,
                                           &kTOMultiplierRange, &kQuietWindowRange,
                                           &kDeviceCodeRange};

// The reading of the private-profile functions takes the leading digits and
// drops the rest, so "abc" became 0 (every wait failing at once) and "3O"
// became 3. Only a whole number, with an optional sign, is taken here.
std::optional<long> WholeNumber(const std::string& text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') {
    ++begin;
    if (begin != end && *begin == '-') return std::nullopt;
  }
  int value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

const SettingRange* RangeOf(const std::string& key) {
  for (const SettingRange* range : kRanges) {
    if (key == range->key) return range;
  }
  return nullptr;
}

}  // namespace

std::string RangeText(const SettingRange& range) {
  std::string text = std::to_string(range.low) + (range.high == range.low + 1 ? " or " : " to ") +
                     std::to_string(range.high);
  if (*range.unit != '\0') text += std::string(" ") + range.unit;
  return text;
}

std::optional<std::string> OutOfRange(const SettingRange& range, long value) {
  if (value >= range.low && value <= range.high) return std::nullopt;
  return std::to_string(value) + " is not " + RangeText(range);
}

std::vector<std::string> SettingsValueProblems(const platform::IniDocument& document) {
  std::vector<std::string> problems;
  for (const char* key : kIntegerKeys) {
    const std::optional<std::string> text = document.Get("Settings", key);
    if (!text || text->empty()) continue;
    const std::string written = std::string(key) + "=" + *text;
    const SettingRange* range = RangeOf(key);
    const std::optional<long> value = WholeNumber(*text);
    if (!value) {
      problems.push_back(written + " is not a whole number" +
                         (range != nullptr ? " (" + RangeText(*range) + ")" : std::string()));
    } else if (range != nullptr && OutOfRange(*range, *value)) {
      problems.push_back(written + " is not " + RangeText(*range));
    }
  }
  return problems;
}

}  // namespace orgalink::ui
