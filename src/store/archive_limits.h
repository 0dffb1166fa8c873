// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "store/store_result.h"

namespace orgalink::store {

struct ArchiveImage;

// What the organizer can hold, and so what an archive may hold: the import
// builds no archive beyond these, and every command that reads one refuses
// it, since a restore of more than the organizer keeps leaves it unable to
// be backed up again.

// The most bytes one application's record stream may take: what a backup
// receives of one application at most.
inline constexpr std::size_t MaxApplicationBytes = 256000;
// No archive within the limits comes near this (seven applications of
// MaxApplicationBytes and their headers are under 2 MB), so a file read as
// an archive stops here.
inline constexpr std::size_t MaxArchiveFileBytes = std::size_t{4} << 20;
// The device code of every archive this system writes, and the only one a
// restore accepts.
inline constexpr std::array<std::uint8_t, 2> ArchiveDeviceCode = {2, 0};

// Whether the organizer has an application of this number (0 to 6).
bool KnownApplication(std::uint8_t application);

// Each of these gives what is wrong, in words for the user, or an empty
// text when the limit holds.

// "9 sections, more than the 7 an archive holds".
std::string SectionCountProblem(std::size_t sections);
// An unknown application number, more than 65535 records or more than
// MaxApplicationBytes of record stream, for the caller to put after the
// application's name: "300000 bytes, more than the 256000 an application
// may hold".
std::string ApplicationProblem(std::uint8_t application, std::size_t records,
                               std::size_t stream_bytes);
// "Memo occurs twice, in sections 2 and 5" for the first application that
// `applications` (the sections' in order) holds twice.
std::string DuplicateProblem(std::span<const std::uint8_t> applications);

// Holds a parsed archive to every limit above. StoreOk; StoreDuplicate for
// an application held twice; StoreInvalid for any other limit broken, with
// the section it is in: "section 1 of 1 (Memo): 300000 bytes, ...". The
// words go to `problem`.
StoreResult CheckArchiveLimits(const ArchiveImage& image, std::string& problem);

}  // namespace orgalink::store
