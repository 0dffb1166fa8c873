// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink verify ARCHIVE: whether the organizer holds what an archive
// holds, read back without writing anything to the organizer or the disk.

#include <memory>

#include "archive_path.h"
#include "commands.h"
#include "console.h"
#include "verify_organizer.h"

namespace orgalink::cli {

namespace {

struct VerifyOptions {
  std::string archive;
  bool json = false;
  EngineOptions engine;
};

}  // namespace

void AddVerifyCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<VerifyOptions>();
  CLI::App* sub = app.add_subcommand(
      "verify", "Read the organizer back and compare it with an archive; nothing is written");
  sub->footer(
      "RunMode 1 into memory. Prints \"Verified: N records in K applications match\" (exit 0) "
      "or what differs in each application (exit 18). Telephone is compared in any order, "
      "since the organizer keeps its own. A missing or unreadable ARCHIVE exits 17 before the "
      "port is opened, a file that is no archive 13.");
  sub->add_option("ARCHIVE", options->archive, "Archive to compare with (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  AddEngineOptions(*sub, options->engine);
  AddJsonFlag(*sub, options->json);
  sub->callback([options, &context] {
    OutcomeReport report("verify", options->json);
    context.exit_code = report.Finish(
        VerifyOrganizer(options->engine, options->archive, Console(), context.stop, false, report));
  });
}

}  // namespace orgalink::cli
