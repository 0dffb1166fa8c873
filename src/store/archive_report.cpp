// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive_report.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/checked_archive.h"
#include "store/code_conversion.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

std::string Hex(std::uint8_t byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

void PrintRecords(const ArchiveImage& image, const ArchiveSection& section,
                  const CodeTable& incoming, std::ostream& out) {
  const std::uint8_t* next = image.body.data() + section.offset;
  const std::uint8_t* const end = next + section.length;
  for (unsigned r = 0; r < section.count; ++r) {
    const auto length = static_cast<std::size_t>(RecordLength({next, end}));
    out << "    " << r + 1 << ": "
        << RecordDisplay(section.application, {next, next + length}, incoming) << '\n';
    next += length + 1;
  }
}

void PrintReport(const ArchiveImage& image, const CodeTable& incoming, bool show_records,
                 std::ostream& out) {
  out << "magic: " << std::string(image.magic.begin(), image.magic.end())
      << (image.inverted ? " (body inverted)" : " (body not inverted)") << '\n';
  out << "device code: " << Hex(image.device[0]) << ' ' << Hex(image.device[1]) << '\n';
  out << "sections: " << image.section_count << '\n';
  for (std::size_t i = 0; i < image.sections.size(); ++i) {
    const ArchiveSection& section = image.sections[i];
    out << "  " << i + 1 << ". " << ApplicationName(section.application) << ": " << section.count
        << (section.count == 1 ? " record, " : " records, ") << section.length << " bytes\n";
    if (show_records) PrintRecords(image, section, incoming, out);
  }
}

}  // namespace

std::string RecordDisplay(std::uint8_t application, std::vector<std::uint8_t> record,
                          const CodeTable& incoming) {
  return JoinedFields(RecordFields(application, std::move(record), incoming));
}

std::vector<std::string> RecordFields(std::uint8_t application, std::vector<std::uint8_t> record,
                                      const CodeTable& incoming) {
  FromDeviceCodes(incoming, application, record);
  const std::size_t text =
      std::min(static_cast<std::size_t>(TextOffset(application)), record.size());
  const std::span<const std::uint8_t> rest = std::span(record).subspan(text);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const auto zero = std::find(rest.begin() + static_cast<std::ptrdiff_t>(start), rest.end(), 0);
    const auto end = static_cast<std::size_t>(zero - rest.begin());
    fields.push_back(Latin1ToDisplay(rest.subspan(start, end - start)));
    if (end == rest.size()) return fields;
    start = end + 1;
  }
}

std::string JoinedFields(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += " | ";
    for (const char c : fields[i]) line += c == '|' ? std::string("\\x7C") : std::string(1, c);
  }
  return line;
}

std::string Latin1ToDisplay(std::span<const std::uint8_t> text) {
  std::string display;
  for (const std::uint8_t byte : text) {
    if (byte == '\\') {
      display += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      display += static_cast<char>(byte);
    } else if (byte >= 0xA0) {
      display += static_cast<char>(0xC0 | byte >> 6);
      display += static_cast<char>(0x80 | (byte & 0x3F));
    } else {
      display += "\\x" + Hex(byte);
    }
  }
  return display;
}

int ReportArchive(std::span<const std::uint8_t> file, const CodeTable& incoming, bool show_records,
                  std::ostream& out, std::ostream& err) {
  CheckedArchive archive;
  CheckArchiveBytes(file, archive);
  return ReportArchive(archive, incoming, show_records, out, err);
}

int ReportArchive(const CheckedArchive& archive, const CodeTable& incoming, bool show_records,
                  std::ostream& out, std::ostream& err) {
  if (archive.parsed) PrintReport(archive.image, incoming, show_records, out);
  if (archive.message.empty()) return 0;
  err << archive.message << '\n';
  return 1;
}

int InspectArchiveFile(const std::string& path, const std::string& table_directory,
                       bool show_records, std::ostream& out, std::ostream& err) {
  CheckedArchive archive;
  ReadArchiveFile(path, archive);
  if (archive.read) out << "archive: " << path << " (" << archive.size << " bytes)\n";
  CodeTable outgoing{};
  CodeTable incoming{};
  LoadCodeTables(table_directory, outgoing, incoming);
  return ReportArchive(archive, incoming, show_records, out, err);
}

}  // namespace orgalink::store
