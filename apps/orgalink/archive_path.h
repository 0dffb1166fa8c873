// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace orgalink::cli {

// The archive a command is to read: `path` itself when it exists; when it
// does not and lacks ".bkf", the file with ".bkf" added if that exists, as
// backup adds it to the name it writes. Otherwise `path` as given, so that
// the failure names what the user typed.
std::string ExistingArchivePath(const std::string& path);

// ExistingArchivePath for an option or argument that names an archive to
// read.
CLI::Validator ArchivePathTransform();

}  // namespace orgalink::cli
