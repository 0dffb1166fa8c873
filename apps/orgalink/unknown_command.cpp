#include "unknown_command.h"

#include <cstdio>
#include <string>

namespace orgalink::cli {

bool RefuseUnknownCommand(CLI::App& app, int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') return false;
  const std::string word = argv[1];
  std::string names;
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->check_name(word)) return false;
    names += (names.empty() ? "" : ", ") + command->get_name();
  }
  std::fprintf(stderr, "orgalink: unknown command '%s'; the commands are %s (orgalink --help)\n",
               word.c_str(), names.c_str());
  return true;
}

}  // namespace orgalink::cli
