// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_document.h"

#include <cctype>

namespace orgalink::platform {

namespace {

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The name of a "[section]" line.
std::optional<std::string> SectionName(const std::string& line) {
  std::string text = Trim(line);
  std::size_t close = text.find(']');
  if (text.empty() || text[0] != '[' || close == std::string::npos) return std::nullopt;
  return Trim(text.substr(1, close - 1));
}

struct KeyValue {
  std::string key;
  std::string value;
};

// The key and value of a "key=value" line; comments (";") are no keys.
std::optional<KeyValue> SplitKey(const std::string& line) {
  std::string text = Trim(line);
  std::size_t equals = text.find('=');
  if (text.empty() || text[0] == ';' || text[0] == '[' || equals == std::string::npos) {
    return std::nullopt;
  }
  return KeyValue{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

}  // namespace

IniDocument IniDocument::Parse(const std::string& text) {
  IniDocument document;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t newline = text.find('\n', start);
    if (newline == std::string::npos) {
      document.lines_.push_back({text.substr(start), ""});
      break;
    }
    bool crlf = newline > start && text[newline - 1] == '\r';
    std::size_t length = newline - start - (crlf ? 1 : 0);
    document.lines_.push_back({text.substr(start, length), crlf ? "\r\n" : "\n"});
    start = newline + 1;
  }
  return document;
}

std::optional<std::string> IniDocument::Get(const std::string& section,
                                            const std::string& key) const {
  std::optional<std::size_t> header = FindSection(section);
  if (!header) return std::nullopt;
  std::optional<std::size_t> line = FindKey(*header, key);
  if (!line) return std::nullopt;
  return SplitKey(lines_[*line].text)->value;
}

std::vector<std::string> IniDocument::Keys(const std::string& section) const {
  std::vector<std::string> keys;
  std::optional<std::size_t> header = FindSection(section);
  if (!header) return keys;
  for (std::size_t i = *header + 1; i < SectionEnd(*header); ++i) {
    if (std::optional<KeyValue> entry = SplitKey(lines_[i].text)) keys.push_back(entry->key);
  }
  return keys;
}

void IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  std::optional<std::size_t> header = FindSection(section);
  if (!header) {
    Insert(lines_.size(), "[" + section + "]");
    Insert(lines_.size(), key + "=" + value);
    return;
  }
  if (std::optional<std::size_t> line = FindKey(*header, key)) {
    // The key keeps the spelling it has in the file.
    lines_[*line].text = SplitKey(lines_[*line].text)->key + "=" + value;
    return;
  }
  std::size_t position = SectionEnd(*header);
  while (position > *header + 1 && Trim(lines_[position - 1].text).empty()) --position;
  Insert(position, key + "=" + value);
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}

std::optional<std::size_t> IniDocument::FindSection(const std::string& section) const {
  std::string wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::optional<std::string> name = SectionName(lines_[i].text);
    if (name && SameName(*name, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, const std::string& key) const {
  std::string wanted = Trim(key);
  for (std::size_t i = header + 1; i < SectionEnd(header); ++i) {
    std::optional<KeyValue> entry = SplitKey(lines_[i].text);
    if (entry && SameName(entry->key, wanted)) return i;
  }
  return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !SectionName(lines_[i].text)) ++i;
  return i;
}

// New lines end in "\n"; a line before them that had no end gets one.
void IniDocument::Insert(std::size_t position, std::string text) {
  if (position > 0 && lines_[position - 1].end.empty()) lines_[position - 1].end.push_back('\n');
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                Line{std::move(text), "\n"});
}

}  // namespace orgalink::platform
