// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <new>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

// Builds the text of `problem` only when the caller asked for one.
[[gnu::format(printf, 3, 4)]] StoreResult Refuse(StoreResult result, std::string* problem,
                                                 const char* format, ...) {
  if (problem != nullptr) {
    char text[200];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    *problem = text;
  }
  return result;
}

std::string Printable(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    text += byte >= 0x20 && byte < 0x7F ? std::string(1, static_cast<char>(byte)) : escaped;
  }
  return text;
}

StoreResult CheckHeader(std::span<const std::uint8_t> file, const std::uint8_t* expected_device,
                        ArchiveImage& image, std::string* problem) {
  const auto too_short = [&] {
    return Refuse(StoreInvalid, problem,
                  "the file is %zu bytes long, shorter than the %zu-byte header", file.size(),
                  ArchiveHeaderSize);
  };
  if (file.size() < InvertedMagic.size()) return too_short();
  const std::string_view magic(reinterpret_cast<const char*>(file.data()), InvertedMagic.size());
  if (magic != InvertedMagic && magic != PlainMagic) {
    return Refuse(StoreBadMagic, problem,
                  "bad magic \"%s\" (an archive starts with IM2BK0 or IM2BK1)",
                  Printable(file.first(InvertedMagic.size())).c_str());
  }
  std::copy(magic.begin(), magic.end(), image.magic.begin());
  image.magic_valid = true;
  image.inverted = magic == InvertedMagic;
  if (file.size() < 8) return too_short();
  image.device = {file[6], file[7]};
  if (expected_device != nullptr &&
      (file[6] != expected_device[0] || file[7] != expected_device[1])) {
    return Refuse(StoreWrongDevice, problem, "device code %02X %02X, expected %02X %02X", file[6],
                  file[7], expected_device[0], expected_device[1]);
  }
  if (file.size() < ArchiveHeaderSize) return too_short();
  image.section_count = file[8];
  return StoreOk;
}

// Walks the records of one section, whose header starts at `position`.
StoreResult ParseSection(const ArchiveImage& image, std::size_t position, int index,
                         ArchiveSection& section, std::string* problem) {
  const std::vector<std::uint8_t>& body = image.body;
  const int total = image.section_count;
  if (body.size() - position < SectionHeaderSize) {
    return Refuse(StoreInvalid, problem,
                  "section %d of %d: its header runs past the end of the file", index + 1, total);
  }
  section.application = body[position];
  section.count = static_cast<std::uint16_t>(body[position + 1] << 8 | body[position + 2]);
  section.offset = position + SectionHeaderSize;
  std::size_t end = section.offset;
  for (unsigned record = 0; record < section.count; ++record) {
    const int length = RecordLength(std::span(body).subspan(end));
    if (length < 0) {
      const bool past_end = body.size() - end <= MaxRecordLength;
      return Refuse(StoreInvalid, problem, "section %d of %d (%s): record %u of %u %s", index + 1,
                    total, ApplicationName(section.application).c_str(), record + 1, section.count,
                    past_end ? "runs past the end of the file" : "is longer than 1023 bytes");
    }
    end += static_cast<std::size_t>(length) + 1;
  }
  section.length = end - section.offset;
  return StoreOk;
}

}  // namespace

std::string ApplicationName(std::uint8_t application) {
  const char* name = application <= ExpenseCategory ? AppliModeName(application) : nullptr;
  return name != nullptr ? name : "application " + std::to_string(application);
}

StoreResult ParseArchive(std::span<const std::uint8_t> file, const std::uint8_t* expected_device,
                         int max_sections, ArchiveImage& image, std::string* problem) {
  image = ArchiveImage{};
  const StoreResult header = CheckHeader(file, expected_device, image, problem);
  if (header != StoreOk) return header;
  if (image.section_count > max_sections) {
    return Refuse(StoreInvalid, problem, "%d sections, more than the %d an archive holds",
                  image.section_count, max_sections);
  }
  try {
    image.body.assign(file.begin() + ArchiveHeaderSize, file.end());
    image.sections.resize(static_cast<std::size_t>(image.section_count));
  } catch (const std::bad_alloc&) {
    return Refuse(StoreFailed, problem, "out of memory");
  }
  if (image.inverted) {
    for (std::uint8_t& byte : image.body) byte = static_cast<std::uint8_t>(~byte);
  }
  std::size_t position = 0;
  for (int i = 0; i < image.section_count; ++i) {
    ArchiveSection& section = image.sections[static_cast<std::size_t>(i)];
    const StoreResult result = ParseSection(image, position, i, section, problem);
    if (result != StoreOk) return result;
    position = section.offset + section.length;
  }
  return StoreOk;
}

}  // namespace orgalink::store
