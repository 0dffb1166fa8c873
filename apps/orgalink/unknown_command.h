#pragma once

#include <CLI/CLI.hpp>

namespace orgalink::cli {

// When the first argument is meant as a command (it is no option) but names
// none of `app`'s, says so with the commands there are and returns true.
// The parser would only say that a command is required.
bool RefuseUnknownCommand(CLI::App& app, int argc, char** argv);

}  // namespace orgalink::cli
