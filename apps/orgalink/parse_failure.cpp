// SPDX-License-Identifier: GPL-3.0-or-later
#include "parse_failure.h"

namespace orgalink::cli {

namespace {

constexpr std::string_view kPrefix = "orgalink: ";

}  // namespace

std::string UsageLine(const CLI::App& command) {
  const bool program = command.get_parent() == nullptr;
  CLI::Formatter formatter;
  formatter.label("SUBCOMMAND", "COMMAND");
  std::string line =
      formatter.make_usage(&command, program ? "orgalink" : "orgalink " + command.get_name());
  while (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

std::string ParseFailureMessage(const CLI::App* app, const CLI::Error& error) {
  std::string what = error.what();
  // Checks of the program's own already speak for it.
  if (what.rfind(kPrefix, 0) != 0) what.insert(0, kPrefix);
  // The command being read is the one the parser had reached.
  const auto reached = app->get_subcommands();
  const CLI::App& command = reached.empty() ? *app : *reached.back();
  const std::string help = command.get_parent() == nullptr
                               ? "orgalink --help"
                               : "orgalink " + command.get_name() + " --help";
  return what + "\n" + UsageLine(command) + "\n(more: " + help + ")\n";
}

}  // namespace orgalink::cli
