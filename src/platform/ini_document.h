// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orgalink::platform {

// The lines of an INI file, each kept with its own line end, so that setting
// one key leaves every other byte of the file as it was. Section and key
// names match without regard to case; the first match counts.
class IniDocument {
 public:
  static IniDocument Parse(const std::string& text);

  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  // The names of the keys of the section, in the file's order and spelling.
  std::vector<std::string> Keys(const std::string& section) const;

  // Replaces the key's value in place, or adds the key at the end of its
  // section, or adds the section at the end of the file.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  std::string Text() const;

 private:
  struct Line {
    std::string text;
    std::string end;  // "\n", "\r\n" or empty for a last line without one
  };

  std::optional<std::size_t> FindSection(const std::string& section) const;
  std::optional<std::size_t> FindKey(std::size_t header, const std::string& key) const;
  std::size_t SectionEnd(std::size_t header) const;
  void Insert(std::size_t position, std::string text);

  std::vector<Line> lines_;
};

}  // namespace orgalink::platform
