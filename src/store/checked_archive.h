// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "store/archive.h"
#include "store/store_result.h"

namespace orgalink::store {

// An archive read and judged as every command judges it, so that inspect,
// export, diff, verify, restore and the viewer refuse the same files in the
// same words.
struct CheckedArchive {
  // Whether the file's bytes could be read, and how many there are.
  bool read = false;
  std::size_t size = 0;
  // True once the sections could be walked: `image` is then complete, even
  // for an archive refused for breaking a limit, so that it can be shown.
  bool parsed = false;
  ArchiveImage image;
  // Empty for an archive the organizer could take; otherwise what is wrong:
  //   "PATH: cannot read the file: No such file or directory"
  //   "PATH is larger than 4194304 bytes; no archive is"
  //   "PATH: not a usable archive: Memo occurs twice, in sections 1 and 2"
  // (from CheckArchiveBytes, without the path).
  std::string message;
  // The errno of a file that could not be read, else 0.
  int error_number = 0;
};

// Judges an archive held in memory: parsed without reading outside `file`
// (ParseArchive) and held to the organizer's limits (CheckArchiveLimits).
// `expected_device`, when given, must be the file's device code. The
// result is StoreOk or what the parser or the limits gave; `archive.message`
// then begins "not a usable archive: ".
StoreResult CheckArchiveBytes(std::span<const std::uint8_t> file, CheckedArchive& archive,
                              const std::array<std::uint8_t, 2>* expected_device = nullptr);

// Reads the archive file at `path`, no more than MaxArchiveFileBytes of it,
// and judges it as CheckArchiveBytes does, the message beginning with the
// path. StoreFailed when the file cannot be read (a retry may help),
// StoreInvalid for one too large to be an archive.
StoreResult ReadArchiveFile(const std::string& path, CheckedArchive& archive,
                            const std::array<std::uint8_t, 2>* expected_device = nullptr);

}  // namespace orgalink::store
