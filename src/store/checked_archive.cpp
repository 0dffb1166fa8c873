// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/checked_archive.h"

#include <cerrno>
#include <new>
#include <vector>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/archive_limits.h"

namespace orgalink::store {

namespace {

constexpr const char* kUnusable = "not a usable archive: ";

}  // namespace

StoreResult CheckArchiveBytes(std::span<const std::uint8_t> file, CheckedArchive& archive,
                              const std::array<std::uint8_t, 2>* expected_device) {
  archive = CheckedArchive{};
  archive.read = true;
  archive.size = file.size();
  std::string problem;
  StoreResult result = StoreFailed;
  try {
    result = ParseArchive(file, expected_device != nullptr ? expected_device->data() : nullptr,
                          ArchiveSlots, archive.image, &problem);
    if (result == StoreOk) {
      archive.parsed = true;
      result = CheckArchiveLimits(archive.image, problem);
    }
  } catch (const std::bad_alloc&) {
    archive.parsed = false;
    problem = "out of memory";
    result = StoreFailed;
  }
  if (result != StoreOk) archive.message = kUnusable + problem;
  return result;
}

StoreResult ReadArchiveFile(const std::string& path, CheckedArchive& archive,
                            const std::array<std::uint8_t, 2>* expected_device) {
  std::vector<std::uint8_t> file;
  std::string reason;
  int error_number = 0;
  bool read = false;
  try {
    read = platform::ReadWholeFile(path, file, &reason, MaxArchiveFileBytes, &error_number);
  } catch (const std::bad_alloc&) {
    reason = platform::ErrorText(ENOMEM);
    error_number = ENOMEM;
  }
  if (!read) {
    archive = CheckedArchive{};
    archive.error_number = error_number;
    if (error_number == EFBIG) {
      archive.message = path + " is " + reason + "; no archive is";
      return StoreInvalid;
    }
    archive.message = path + ": cannot read the file: " + reason;
    return StoreFailed;
  }
  const StoreResult result = CheckArchiveBytes(file, archive, expected_device);
  if (!archive.message.empty()) archive.message = path + ": " + archive.message;
  return result;
}

}  // namespace orgalink::store
