// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/readable_archive.h"

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

bool Refuse(std::string* problem, std::string text) {
  if (problem != nullptr) *problem = std::move(text);
  return false;
}

std::string Place(const RecordProblem& problem) {
  return problem.field.empty() ? "" : ", " + problem.field;
}

bool AppendSection(const ReadableSection& section, RecordCodec& codec,
                   std::vector<std::uint8_t>& body, std::string* problem) {
  const std::string name = ApplicationName(section.application);
  const std::size_t count = section.records.size();
  std::string wrong = ApplicationProblem(section.application, count, 0);
  if (!wrong.empty()) return Refuse(problem, name + ": " + wrong);
  body.push_back(section.application);
  body.push_back(static_cast<std::uint8_t>(count >> 8));
  body.push_back(static_cast<std::uint8_t>(count & 0xFF));
  const std::size_t start = body.size();
  std::vector<std::uint8_t> bytes;
  for (std::size_t r = 0; r < count; ++r) {
    RecordProblem record_problem;
    if (!codec.Encode(section.application, section.records[r], bytes, &record_problem)) {
      return Refuse(problem, name + ", record " + std::to_string(r + 1) + Place(record_problem) +
                                 ": " + record_problem.what);
    }
    body.insert(body.end(), bytes.begin(), bytes.end());
    body.push_back(RecordTerminator);
  }
  wrong = ApplicationProblem(section.application, count, body.size() - start);
  if (!wrong.empty()) return Refuse(problem, name + ": " + wrong);
  return true;
}

}  // namespace

StoreResult ReadArchive(std::span<const std::uint8_t> file, RecordCodec& codec,
                        ReadableArchive& archive, std::string* problem) {
  ArchiveImage image;
  const StoreResult parsed = ParseArchive(file, nullptr, ArchiveSlots, image, problem);
  if (parsed != StoreOk) return parsed;
  ReadArchive(image, codec, archive);
  return StoreOk;
}

void ReadArchive(const ArchiveImage& image, RecordCodec& codec, ReadableArchive& archive) {
  archive = ReadableArchive{};
  archive.magic.assign(image.magic.begin(), image.magic.end());
  archive.device = image.device;
  for (const ArchiveSection& parsed_section : image.sections) {
    ReadableSection& section = archive.sections.emplace_back();
    section.application = parsed_section.application;
    const std::uint8_t* next = image.body.data() + parsed_section.offset;
    const std::uint8_t* const end = next + parsed_section.length;
    for (unsigned r = 0; r < parsed_section.count; ++r) {
      // The parser has checked that every record ends within the section.
      const auto length = static_cast<std::size_t>(RecordLength({next, end}));
      section.records.push_back(codec.Decode(section.application, {next, length}));
      next += length + 1;
    }
  }
  const std::size_t end =
      image.sections.empty() ? 0 : image.sections.back().offset + image.sections.back().length;
  archive.trailing.assign(image.body.begin() + end, image.body.end());
}

std::string DuplicateApplication(const ReadableArchive& archive) {
  std::vector<std::uint8_t> applications;
  for (const ReadableSection& section : archive.sections) {
    applications.push_back(section.application);
  }
  return DuplicateProblem(applications);
}

bool BuildArchive(const ReadableArchive& archive, RecordCodec& codec,
                  std::vector<std::uint8_t>& file, std::string* problem) {
  if (archive.magic != InvertedMagic && archive.magic != PlainMagic) {
    return Refuse(problem, "magic \"" + archive.magic + "\": an archive's is " +
                               std::string(PlainMagic) + " or " + std::string(InvertedMagic));
  }
  const std::string too_many = SectionCountProblem(archive.sections.size());
  if (!too_many.empty()) return Refuse(problem, too_many);
  const std::string duplicate = DuplicateApplication(archive);
  if (!duplicate.empty()) return Refuse(problem, duplicate);
  file.assign(archive.magic.begin(), archive.magic.end());
  file.insert(file.end(), archive.device.begin(), archive.device.end());
  file.push_back(static_cast<std::uint8_t>(archive.sections.size()));
  for (const ReadableSection& section : archive.sections) {
    if (!AppendSection(section, codec, file, problem)) return false;
  }
  file.insert(file.end(), archive.trailing.begin(), archive.trailing.end());
  if (archive.magic == InvertedMagic) {
    for (std::size_t i = ArchiveHeaderSize; i < file.size(); ++i) {
      file[i] = static_cast<std::uint8_t>(~file[i]);
    }
  }
  return true;
}

}  // namespace orgalink::store
