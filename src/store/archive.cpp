// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an archive into the AppliStore; LoadArchive is a member of the
// store, since it replaces its slots directly. Writing is archive_write.cpp.

#include "store/archive.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "platform/file_system.h"
#include "store/appli_store.h"
#include "store/archive_limits.h"
#include "store/record.h"

namespace orgalink::store {

StoreResult AppliStore::LoadArchive(const std::string& path, std::string* error_text) {
  if (!has_table_) return StoreInvalid;
  std::vector<std::uint8_t> file;
  int error_number = 0;
  try {
    if (!platform::ReadWholeFile(path, file, error_text, MaxArchiveFileBytes, &error_number)) {
      // Reading a file too long to be an archive again cannot help.
      return error_number == EFBIG ? StoreInvalid : StoreFailed;
    }
  } catch (const std::bad_alloc&) {
    return StoreFailed;
  }
  return LoadArchiveBytes(file);
}

StoreResult AppliStore::LoadArchiveBytes(std::span<const std::uint8_t> file, std::string* problem) {
  if (!has_table_) return StoreInvalid;
  FreeRecords();
  ArchiveImage image;
  std::string problem_text;
  const StoreResult parsed = ParseArchive(file, device_code_, Capacity(), image, problem);
  if (image.magic_valid) std::copy(image.magic.begin(), image.magic.end(), magic_.begin());
  if (parsed == StoreBadMagic || parsed == StoreWrongDevice) return parsed;
  // An archive beyond what the organizer holds is refused as a whole.
  const StoreResult held = parsed == StoreOk ? CheckArchiveLimits(image, problem_text) : parsed;
  if (held != StoreOk) {
    // Nothing half-read stays behind.
    ClearSlots();
    if (problem != nullptr && parsed == StoreOk) *problem = problem_text;
    return held;
  }
  try {
    TakeSections(image);
  } catch (const std::bad_alloc&) {
    ClearSlots();
    return StoreFailed;
  }
  return StoreOk;
}

// Section i goes to slot i, its records entering the store's codes.
void AppliStore::TakeSections(const ArchiveImage& image) {
  appli_count_ = image.section_count;
  for (std::size_t i = 0; i < image.sections.size(); ++i) {
    const ArchiveSection& section = image.sections[i];
    AppliSlot& slot = slots_[i];
    slot.application = section.application;
    slot.count = section.count;
    slot.records.clear();
    slot.records.reserve(section.count);
    const std::uint8_t* next = image.body.data() + section.offset;
    const std::uint8_t* const end = next + section.length;
    for (unsigned r = 0; r < section.count; ++r) {
      // The parser has checked that every record ends within the section.
      const auto length = static_cast<std::size_t>(RecordLength({next, end}));
      auto& record = slot.records.emplace_back(std::in_place, next, next + length);
      FromDeviceCodes(section.application, *record);
      next += length + 1;
    }
    slot.in_use = true;
  }
}

}  // namespace orgalink::store
