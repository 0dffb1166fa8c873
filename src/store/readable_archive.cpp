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
  if (count > static_cast<std::size_t>(MaxRecordsPerSlot)) {
    return Refuse(problem, name + ": " + std::to_string(count) + " records, more than " +
                               std::to_string(MaxRecordsPerSlot));
  }
  body.push_back(section.application);
  body.push_back(static_cast<std::uint8_t>(count >> 8));
  body.push_back(static_cast<std::uint8_t>(count & 0xFF));
  const std::size_t start = body.size();
  std::vector<std::uint8_t> bytes;
  for (std::size_t r = 0; r < count; ++r) {
    RecordProblem wrong;
    if (!codec.Encode(section.application, section.records[r], bytes, &wrong)) {
      return Refuse(problem,
                    name + ", record " + std::to_string(r + 1) + Place(wrong) + ": " + wrong.what);
    }
    body.insert(body.end(), bytes.begin(), bytes.end());
    body.push_back(RecordTerminator);
  }
  if (body.size() - start > MaxApplicationBytes) {
    return Refuse(problem, name + ": " + std::to_string(body.size() - start) +
                               " bytes, more than the " + std::to_string(MaxApplicationBytes) +
                               " an application may hold");
  }
  return true;
}

}  // namespace

StoreResult ReadArchive(std::span<const std::uint8_t> file, RecordCodec& codec,
                        ReadableArchive& archive, std::string* problem) {
  ArchiveImage image;
  const StoreResult parsed = ParseArchive(file, nullptr, ArchiveSlots, image, problem);
  if (parsed != StoreOk) return parsed;
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
      const auto length = static_cast<std::size_t>(RecordLength(next, end - next));
      section.records.push_back(codec.Decode(section.application, {next, length}));
      next += length + 1;
    }
  }
  const std::size_t end =
      image.sections.empty() ? 0 : image.sections.back().offset + image.sections.back().length;
  archive.trailing.assign(image.body.begin() + end, image.body.end());
  return StoreOk;
}

std::string DuplicateApplication(const ReadableArchive& archive) {
  const std::vector<ReadableSection>& sections = archive.sections;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    for (std::size_t j = i + 1; j < sections.size(); ++j) {
      if (sections[i].application == sections[j].application) {
        return ApplicationName(sections[i].application) + " occurs twice, in sections " +
               std::to_string(i + 1) + " and " + std::to_string(j + 1);
      }
    }
  }
  return {};
}

bool BuildArchive(const ReadableArchive& archive, RecordCodec& codec,
                  std::vector<std::uint8_t>& file, std::string* problem) {
  if (archive.magic != InvertedMagic && archive.magic != PlainMagic) {
    return Refuse(problem, "magic \"" + archive.magic + "\": an archive's is " +
                               std::string(PlainMagic) + " or " + std::string(InvertedMagic));
  }
  if (archive.sections.size() > static_cast<std::size_t>(ArchiveSlots)) {
    return Refuse(problem, std::to_string(archive.sections.size()) + " sections, more than the " +
                               std::to_string(ArchiveSlots) + " an archive holds");
  }
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
