// orgalink diff A B: what differs between the records of two archives.

#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "platform/program_directory.h"
#include "store/archive_diff.h"

namespace orgalink::cli {

namespace {

struct DiffOptions {
  std::string a;
  std::string b;
  bool summary = false;
};

}  // namespace

void AddDiffCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* command = app.add_subcommand("diff", "Compare the records of two archives");
  command->footer(
      "For each application the record counts in A and B, then the records only in A (-) and "
      "only in B (+) as inspect --records shows them, or a line when only their order differs. "
      "A different device code gets a line of its own; the scrambling is no difference. Exit 0 "
      "when the records are the same, 1 when they differ, 2 when either file cannot be read.");
  command->add_option("A", options->a, "First archive (.bkf)")->required();
  command->add_option("B", options->b, "Second archive (.bkf)")->required();
  command->add_flag("--summary", options->summary, "Print only the counts");
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = store::DiffArchiveFiles(options->a, options->b, platform::DataDirectory(),
                                                options->summary, std::cout, std::cerr);
  });
}

}  // namespace orgalink::cli
