// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <climits>
#include <cstdint>

namespace orgalink::platform {

namespace {

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

ProfileRead ReadProfile(const std::string& file) {
  std::string text;
  ProfileRead read;
  read.outcome = ReadFileContents(file, text, &read.error);
  if (read.outcome == ReadOutcome::Read) read.document = IniDocument::Parse(text);
  return read;
}

int ProfileInt(const IniDocument& document, const std::string& section, const std::string& key,
               int default_value) {
  const std::optional<std::string> value = document.Get(section, key);
  // A key with nothing after "=" counts as absent, as the platform's own
  // profile functions have it.
  if (!value || value->empty()) return default_value;
  return LeadingInteger(*value);
}

std::string ProfileString(const IniDocument& document, const std::string& section,
                          const std::string& key, const std::string& default_value) {
  return document.Get(section, key).value_or(default_value);
}

void MergeChanges(IniDocument& document, const std::vector<ProfileChange>& changes) {
  for (const ProfileChange& change : changes) {
    if (change.onlyIfAbsent && document.Get(change.section, change.key)) continue;
    document.Set(change.section, change.key, change.value);
  }
}

int MergeIntoProfile(const std::string& file, const std::vector<ProfileChange>& changes) {
  std::string text;
  int error = 0;
  // An existing file that cannot be read must not be replaced by one that
  // holds just these keys.
  if (ReadFileContents(file, text, &error) == ReadOutcome::Failed) return error;
  IniDocument document = IniDocument::Parse(text);
  MergeChanges(document, changes);
  const std::string merged = document.Text();
  if (merged == text) return 0;
  return ReplaceFileContents(file, merged);
}

}  // namespace orgalink::platform
