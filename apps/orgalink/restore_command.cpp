// orgalink restore ARCHIVE: empties the organizer and sends an archive back
// (RunMode 2).

#include <cstdio>
#include <memory>

#include "commands.h"
#include "communication.h"
#include "erase_confirmation.h"
#include "link/link_status.h"
#include "platform/file_system.h"

namespace orgalink::cli {

namespace {

struct RestoreOptions {
  std::string archive;
  bool yes = false;
  EngineOptions engine;
};

// Tried before the port is opened, so that a mistyped name never reaches the
// organizer. The status is the one a restore gives when the user cancels
// after a failed read.
int CheckReadable(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::string problem;
  if (platform::ReadWholeFile(path, bytes, &problem)) return 0;
  std::fprintf(stderr, "Read file error.\nCause: %s: %s.\n", path.c_str(), problem.c_str());
  return link::ToInt(link::LinkFileReadCancelled);
}

int Restore(const RestoreOptions& options) {
  if (const int unreadable = CheckReadable(options.archive)) return unreadable;
  const Console console;
  if (const int refused = ConfirmEmptying(console, options.yes)) return refused;
  return Communicate(options.engine,
                     {operations::RunMode::Restore, options.archive, {}, true, false}, console)
      .exitCode;
}

}  // namespace

void AddRestoreCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<RestoreOptions>();
  CLI::App* sub =
      app.add_subcommand("restore", "Empty the organizer and send an archive back into it");
  sub->footer(
      "RunMode 2. A missing or unreadable ARCHIVE is reported (exit 17) before the port is "
      "opened. On a terminal the restore asks first (answer no: exit 1); without a terminal it "
      "runs only with --yes (else exit 2). Then the instructions and the progress follow.");
  sub->add_option("ARCHIVE", options->archive, "Archive to restore (.bkf)")->required();
  sub->add_flag("--yes,-y", options->yes, "Overwrite the organizer's applications without asking");
  AddEngineOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = Restore(*options); });
}

}  // namespace orgalink::cli
