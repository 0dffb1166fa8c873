// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace orgalink::cli {

// The usage line of `command` as its --help begins it, with the program's
// name: "Usage: orgalink backup [OPTIONS] [ARCHIVE]".
std::string UsageLine(const CLI::App& command);

// What the program says when its command line cannot be understood: the
// parser's complaint after "orgalink: ", then the usage line of the command
// being read (of the program before one is known) and where to read more.
// For CLI::App::failure_message.
std::string ParseFailureMessage(const CLI::App* app, const CLI::Error& error);

}  // namespace orgalink::cli
