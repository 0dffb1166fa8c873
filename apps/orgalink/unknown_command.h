// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace orgalink::cli {

// Refuses, with what to type instead, the command lines the parser would
// answer with a puzzle, and returns true: a first word meant as a command
// (it is no option) that names none of `app`'s, offered the nearest when
// one is close ("did you mean backup?"); and options given before the
// command, which belong after it ("orgalink --port sim backup"). The
// program's own options (--help, --version) stay before any command.
bool RefuseUnknownCommand(CLI::App& app, int argc, char** argv);

// The command among `names` that `word` is most likely a slip of: at most
// two letters added, left out or changed (one for a word of up to four
// letters). Empty when none is that close.
std::string NearestCommand(const std::string& word, const std::vector<std::string>& names);

}  // namespace orgalink::cli
