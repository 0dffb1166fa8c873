// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink inspect ARCHIVE`: shows what a backup archive holds.

#include <iostream>
#include <memory>
#include <string>

#include "archive_path.h"
#include "commands.h"
#include "documents.h"
#include "inspect_json.h"
#include "output_check.h"
#include "platform/program_directory.h"
#include "platform/standard_output.h"
#include "store/archive_report.h"

namespace orgalink::cli {

namespace {

struct InspectOptions {
  std::string archive;
  std::string data_dir;
  bool records = false;
  bool json = false;
};

}  // namespace

void AddInspectCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<InspectOptions>();
  CLI::App* command = app.add_subcommand("inspect", "Show the header and sections of an archive");
  command->add_option("ARCHIVE", options->archive, "Archive file (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  CLI::Option* records =
      command->add_flag("--records", options->records, "Also print the text of every record");
  command
      ->add_flag("--json", options->json,
                 std::string("The header and sections as JSON (layout: ") + kJsonOutputDocument +
                     "); export gives the records")
      ->excludes(records);
  command->add_option("--data-dir", options->data_dir,
                      "Folder holding code.dat (default: the program's data folder)");
  command->callback([options, &context] {
    context.stop.Watching();
    platform::CheckedStandardOutput out;
    if (options->json) {
      context.exit_code = CheckedStatus(out, InspectArchiveJson(options->archive, out, std::cerr));
      return;
    }
    const std::string tables =
        options->data_dir.empty() ? platform::DataDirectory() : options->data_dir + "/";
    context.exit_code = CheckedStatus(
        out, store::InspectArchiveFile(options->archive, tables, options->records, out, std::cerr));
  });
}

}  // namespace orgalink::cli
