// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/archive_json.h"

#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "exchange/json_document.h"
#include "exchange/shown_value.h"
#include "store/archive.h"
#include "store/hex_text.h"

namespace orgalink::exchange {

using nlohmann::json;

namespace {

// A string as JSON, its UTF-8 kept as it is.
std::string Quoted(const std::string& text) {
  return json(text).dump(-1, ' ', false, json::error_handler_t::strict);
}

std::string RecordLine(const store::ReadableRecord& record) {
  if (!record.readable) return "{\"hex\": " + Quoted(store::ToHex(record.bytes)) + "}";
  std::string line = "{";
  if (!record.prefix.empty()) line += "\"prefix\": " + Quoted(store::ToHex(record.prefix)) + ", ";
  line += "\"text\": [";
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    line += (i == 0 ? "" : ", ") + Quoted(record.fields[i]);
  }
  return line + "]}";
}

void WriteSection(const store::ReadableSection& section, std::ostream& out) {
  out << "    {\n      \"application\": " << Quoted(store::ApplicationName(section.application))
      << ",\n      \"code\": " << int{section.application} << ",\n      \"records\": [";
  for (std::size_t r = 0; r < section.records.size(); ++r) {
    out << (r == 0 ? "\n" : ",\n") << "        " << RecordLine(section.records[r]);
  }
  out << (section.records.empty() ? "]\n" : "\n      ]\n") << "    }";
}

// A failure of the reading below, with the place it names.
struct Malformed {
  std::string problem;
};

[[noreturn]] void Fail(const std::string& place, const std::string& what) {
  throw Malformed{place.empty() ? what : place + ": " + what};
}

void OnlyKeys(const json& object, std::initializer_list<const char*> keys,
              const std::string& place) {
  const std::set<std::string> known(keys.begin(), keys.end());
  for (const auto& item : object.items()) {
    if (known.count(item.key()) == 0) Fail(place, "unknown key " + ShownText(item.key()));
  }
}

const json& Member(const json& object, const char* key, const std::string& place) {
  const auto found = object.find(key);
  if (found == object.end()) Fail(place, "\"" + std::string(key) + "\" is missing");
  return *found;
}

std::string Text(const json& value, const std::string& place) {
  if (!value.is_string()) Fail(place, "a string is expected, not " + Shown(value));
  return value.get<std::string>();
}

std::vector<std::uint8_t> Hex(const json& value, const std::string& place) {
  std::vector<std::uint8_t> bytes;
  if (!store::FromHex(Text(value, place), bytes)) {
    Fail(place, Shown(value) + " is not hex (two digits a byte)");
  }
  return bytes;
}

const json& Array(const json& value, const std::string& place) {
  if (!value.is_array()) Fail(place, "a list is expected, not " + Shown(value));
  return value;
}

// The application a section's name stands for: one of the names the export
// writes.
std::uint8_t ApplicationOf(const json& section, const std::string& place) {
  const std::string name = Text(Member(section, "application", place), place + ", application");
  std::optional<std::uint8_t> code;
  for (int candidate = 0; candidate <= 0xFF && !code; ++candidate) {
    if (store::ApplicationName(static_cast<std::uint8_t>(candidate)) == name) code = candidate;
  }
  if (!code) Fail(place, "unknown application " + ShownText(name));
  const auto given = section.find("code");
  if (given != section.end() && (!given->is_number_integer() || *given != *code)) {
    Fail(place + " (" + name + ")",
         "code " + Shown(*given) + " is not " + name + "'s (" + std::to_string(*code) + ")");
  }
  return *code;
}

store::ReadableRecord RecordOf(const json& value, const std::string& place) {
  if (!value.is_object()) Fail(place, "an object is expected, not " + Shown(value));
  OnlyKeys(value, {"hex", "prefix", "text"}, place);
  store::ReadableRecord record;
  const bool has_hex = value.contains("hex");
  if (has_hex == value.contains("text")) Fail(place, "either \"hex\" or \"text\" is expected");
  if (has_hex) {
    if (value.contains("prefix")) Fail(place, "\"prefix\" goes with \"text\", not with \"hex\"");
    record.readable = false;
    record.bytes = Hex(value["hex"], place + ", hex");
    return record;
  }
  if (value.contains("prefix")) record.prefix = Hex(value["prefix"], place + ", prefix");
  const json& fields = Array(value["text"], place + ", text");
  for (std::size_t i = 0; i < fields.size(); ++i) {
    record.fields.push_back(Text(fields[i], place + ", text field " + std::to_string(i + 1)));
  }
  return record;
}

store::ReadableSection SectionOf(const json& value, std::size_t index) {
  const std::string place = "section " + std::to_string(index + 1);
  if (!value.is_object()) Fail(place, "an object is expected, not " + Shown(value));
  OnlyKeys(value, {"application", "code", "records"}, place);
  store::ReadableSection section;
  section.application = ApplicationOf(value, place);
  const std::string name = store::ApplicationName(section.application);
  const json& records = Array(Member(value, "records", name), name + ", records");
  for (std::size_t r = 0; r < records.size(); ++r) {
    section.records.push_back(RecordOf(records[r], name + ", record " + std::to_string(r + 1)));
  }
  return section;
}

// The format's version: JsonFormatFirstVersion to JsonFormatVersion.
int CheckFormat(const json& top) {
  const std::string format = Text(Member(top, "format", ""), "format");
  if (format != JsonFormatName) {
    Fail("format", ShownText(format) + " is not \"" + std::string(JsonFormatName) + "\"");
  }
  const json& version = Member(top, "version", "");
  for (int known = JsonFormatFirstVersion; known <= JsonFormatVersion; ++known) {
    if (version == known) return known;
  }
  Fail("version", Shown(version) + " is not known (this program reads versions " +
                      std::to_string(JsonFormatFirstVersion) + " to " +
                      std::to_string(JsonFormatVersion) + ")");
}

// The two device code bytes: a list of two numbers, or in version 1 two
// bytes of hex.
void ReadDeviceCode(const json& top, int version, store::ReadableArchive& archive) {
  if (version == 1) {
    const std::vector<std::uint8_t> device = Hex(Member(top, "device_code", ""), "device_code");
    if (device.size() != archive.device.size()) Fail("device_code", "two bytes are expected");
    std::copy(device.begin(), device.end(), archive.device.begin());
    return;
  }
  const json& device = Array(Member(top, "deviceCode", ""), "deviceCode");
  if (device.size() != archive.device.size()) Fail("deviceCode", "two bytes are expected");
  for (std::size_t i = 0; i < device.size(); ++i) {
    if (!device[i].is_number_integer() || device[i] < 0 || device[i] > 0xFF) {
      Fail("deviceCode", Shown(device[i]) + " is not a byte (0 to 255)");
    }
    archive.device[i] = device[i].get<std::uint8_t>();
  }
}

void ReadTop(const json& top, store::ReadableArchive& archive, std::string& charset) {
  if (!top.is_object()) Fail("", "the JSON text is not an object");
  const int version = CheckFormat(top);
  OnlyKeys(top,
           {"format", "version", "magic", "inverted", version == 1 ? "device_code" : "deviceCode",
            "charset", "sections", "trailing"},
           "");
  archive.magic = Text(Member(top, "magic", ""), "magic");
  // Checked here, not only when the archive is built, so that a wrong magic
  // of any length is quoted in short.
  if (archive.magic != store::PlainMagic && archive.magic != store::InvertedMagic) {
    Fail("magic", ShownText(archive.magic) + " is not an archive's magic (" +
                      std::string(store::PlainMagic) + " or " + std::string(store::InvertedMagic) +
                      ")");
  }
  const auto inverted = top.find("inverted");
  if (inverted != top.end() &&
      (!inverted->is_boolean() || *inverted != (archive.magic == store::InvertedMagic))) {
    Fail("inverted",
         Shown(*inverted) + " does not agree with the magic " + ShownText(archive.magic));
  }
  ReadDeviceCode(top, version, archive);
  charset = top.contains("charset") ? Text(top["charset"], "charset") : "";
  const json& sections = Array(Member(top, "sections", ""), "sections");
  for (std::size_t i = 0; i < sections.size(); ++i) {
    archive.sections.push_back(SectionOf(sections[i], i));
  }
  if (top.contains("trailing")) archive.trailing = Hex(top["trailing"], "trailing");
}

}  // namespace

bool ArchiveToJson(const store::ReadableArchive& archive, const std::string& charset,
                   std::string& json_text) {
  std::ostringstream out;
  try {
    out << "{\n  \"format\": " << Quoted(std::string(JsonFormatName))
        << ",\n  \"version\": " << JsonFormatVersion << ",\n  \"magic\": " << Quoted(archive.magic)
        << ",\n  \"inverted\": " << (archive.magic == store::InvertedMagic ? "true" : "false")
        << ",\n  \"deviceCode\": [" << int{archive.device[0]} << ", " << int{archive.device[1]}
        << "]"
        << ",\n  \"charset\": " << Quoted(charset) << ",\n  \"sections\": [";
    for (std::size_t i = 0; i < archive.sections.size(); ++i) {
      out << (i == 0 ? "\n" : ",\n");
      WriteSection(archive.sections[i], out);
    }
    out << (archive.sections.empty() ? "]" : "\n  ]");
    if (!archive.trailing.empty()) {
      out << ",\n  \"trailing\": " << Quoted(store::ToHex(archive.trailing));
    }
    out << "\n}\n";
  } catch (const json::exception&) {
    return false;
  }
  json_text = out.str();
  return true;
}

bool ArchiveFromJson(const JsonSource& source, store::ReadableArchive& archive,
                     std::string& charset, std::string& problem) {
  archive = store::ReadableArchive{};
  try {
    JsonInput input(source);
    json top;
    if (!ReadJsonDocument(input, top, problem)) return false;
    ReadTop(top, archive, charset);
  } catch (const Malformed& malformed) {
    problem = malformed.problem;
    return false;
  } catch (const json::exception& error) {
    problem = error.what();
    return false;
  } catch (const std::bad_alloc&) {
    problem = "out of memory";
    return false;
  }
  return true;
}

bool ArchiveFromJson(std::string_view json_text, store::ReadableArchive& archive,
                     std::string& charset, std::string& problem) {
  std::size_t offset = 0;
  const JsonSource source = [&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    const std::size_t count = std::min(size, json_text.size() - offset);
    std::copy_n(json_text.data() + offset, count, buffer);
    offset += count;
    return count;
  };
  return ArchiveFromJson(source, archive, charset, problem);
}

}  // namespace orgalink::exchange
