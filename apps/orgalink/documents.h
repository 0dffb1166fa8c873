// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::cli {

// Where the package installs the documents that the help texts name.
inline constexpr const char* kDocumentFolder = "/usr/share/doc/orgalink";
inline constexpr const char* kJsonOutputDocument = "/usr/share/doc/orgalink/json-output.md";
inline constexpr const char* kExportFormatDocument = "/usr/share/doc/orgalink/export-format.md";

}  // namespace orgalink::cli
