// SPDX-License-Identifier: GPL-3.0-or-later
#include "unknown_command.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "parse_failure.h"

namespace orgalink::cli {

namespace {

// The fewest letters to add, leave out or change to turn `a` into `b`.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool ProgramOption(const std::string& word) {
  return word == "--help" || word == "-h" || word == "--version" || word == "--help-all";
}

std::vector<std::string> CommandNames(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
  return names;
}

bool RefuseUnknown(CLI::App& app, const std::string& word) {
  std::string names;
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->check_name(word)) return false;
    names += (names.empty() ? "" : ", ") + command->get_name();
  }
  const std::string nearest = NearestCommand(word, CommandNames(app));
  const std::string offer = nearest.empty() ? "" : " (did you mean " + nearest + "?)";
  std::fprintf(stderr,
               "orgalink: unknown command '%s'%s; the commands are %s\n%s\n(more: orgalink "
               "--help)\n",
               word.c_str(), offer.c_str(), names.c_str(), UsageLine(app).c_str());
  return true;
}

// Options before the command: the parser would take the command for a
// value and complain about what follows.
bool RefuseOptionsFirst(CLI::App& app, int argc, char** argv) {
  const std::string first = argv[1];
  if (ProgramOption(first)) return false;
  for (int i = 2; i < argc; ++i) {
    CLI::App* command = nullptr;
    for (CLI::App* candidate : app.get_subcommands({})) {
      if (candidate->check_name(argv[i])) command = candidate;
    }
    if (command == nullptr) continue;
    std::fprintf(stderr,
                 "orgalink: options go after the command: put %s after %s\n%s\n(more: orgalink "
                 "%s --help)\n",
                 first.c_str(), argv[i], UsageLine(*command).c_str(), argv[i]);
    return true;
  }
  return false;
}

}  // namespace

std::string NearestCommand(const std::string& word, const std::vector<std::string>& names) {
  const std::size_t allowed = word.size() <= 4 ? 1 : 2;
  std::string nearest;
  std::size_t best = allowed + 1;
  for (const std::string& name : names) {
    const std::size_t distance = EditDistance(word, name);
    if (distance < best) {
      best = distance;
      nearest = name;
    }
  }
  return nearest;
}

bool RefuseUnknownCommand(CLI::App& app, int argc, char** argv) {
  if (argc < 2) return false;
  if (argv[1][0] == '-') return RefuseOptionsFirst(app, argc, argv);
  return RefuseUnknown(app, argv[1]);
}

}  // namespace orgalink::cli
