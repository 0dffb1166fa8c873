// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink diff A B: what differs between the records of two archives.

#include <iostream>
#include <memory>
#include <string>

#include "archive_path.h"
#include "commands.h"
#include "diff_json.h"
#include "documents.h"
#include "output_check.h"
#include "platform/program_directory.h"
#include "platform/standard_output.h"
#include "store/archive_diff.h"

namespace orgalink::cli {

namespace {

constexpr int kExitUnreadable = 2;

struct DiffOptions {
  std::string a;
  std::string b;
  bool summary = false;
  bool json = false;
};

int Diff(const DiffOptions& options) {
  store::ArchiveDiff diff;
  if (!store::DiffArchiveFiles(options.a, options.b, platform::DataDirectory(), diff, std::cerr)) {
    // The object says that nothing could be compared; the message names why.
    if (options.json) {
      return PrintJson(
          {{"command", "diff"}, {"a", options.a}, {"b", options.b}, {"differs", nullptr}},
          kExitUnreadable);
    }
    return kExitUnreadable;
  }
  const int status = store::DiffExitStatus(diff);
  if (options.json) return PrintJson(DiffJson(options.a, options.b, diff), status);
  platform::CheckedStandardOutput out;
  store::PrintArchiveDiff(diff, options.a, options.b, options.summary, out);
  return CheckedStatus(out, status);
}

}  // namespace

void AddDiffCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* command = app.add_subcommand("diff", "Compare the records of two archives");
  command->footer(
      "Like diff(1): nothing when both hold the same records. Otherwise, for each application "
      "that differs, its record counts in A and B, then the records only in A (-) and only in B "
      "(+) as inspect --records shows them, or a line when only their order differs. A "
      "different device code gets a line of its own; the scrambling is no difference.");
  command->add_option("A", options->a, "First archive (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  command->add_option("B", options->b, "Second archive (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  CLI::Option* summary = command->add_flag(
      "--summary", options->summary,
      "One line for each application that differs: its counts, and how many records were added "
      "and removed, or that only their order changed");
  command
      ->add_flag(
          "--json", options->json,
          std::string("The differences as one JSON object (layout: ") + kJsonOutputDocument + ")")
      ->excludes(summary);
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = Diff(*options);
  });
}

}  // namespace orgalink::cli
