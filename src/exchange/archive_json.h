// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "exchange/json_input.h"
#include "store/readable_archive.h"

namespace orgalink::exchange {

// The JSON form of an archive (described in docs/export-format.md).
inline constexpr std::string_view JsonFormatName = "orgalink-archive";
// Version 2 names every key as the other JSON of the program does
// ("deviceCode": [2, 0]); version 1, which earlier exports wrote, had
// "device_code": "0200". Both are read.
inline constexpr int JsonFormatVersion = 2;
inline constexpr int JsonFormatFirstVersion = 1;

// `archive` as JSON text, one record a line; `charset` names the character
// set its text was decoded from. False only when a text is not UTF-8.
bool ArchiveToJson(const store::ReadableArchive& archive, const std::string& charset,
                   std::string& json);

// Reads the JSON form into `archive`, and the character set it names (empty
// when it names none) into `charset`. False, with the place and what is
// wrong in `problem` (the JSON position of a syntax error, else the
// application, the record and the field), for a text that is not such a
// form. The values themselves are checked when the archive is built
// (store::BuildArchive). The text is read as JSON by ReadJsonDocument, so
// it is refused, with its place, when it is deeper, larger or otherwise
// more than an export can be.
bool ArchiveFromJson(std::string_view json, store::ReadableArchive& archive, std::string& charset,
                     std::string& problem);
// The same, with the text read from `source` as it goes. A read error gives
// the problem "cannot read the file", for the caller to add the cause to.
bool ArchiveFromJson(const JsonSource& source, store::ReadableArchive& archive,
                     std::string& charset, std::string& problem);

}  // namespace orgalink::exchange
