// SPDX-License-Identifier: GPL-3.0-or-later
// The archive read of a restore, with the user's Retry and Cancel.

#include "operations/archive_read.h"

#include "operations/operation_steps.h"

namespace orgalink::operations {

namespace {

// Why the store would not take an archive that it could read.
const char* Incompatibility(store::StoreResult loaded) {
  if (loaded == store::StoreBadMagic) return "not an archive of this program";
  if (loaded == store::StoreWrongDevice) return "an archive of another organizer model";
  if (loaded == store::StoreDuplicate) return "the archive holds an application twice";
  return "the archive is damaged";
}

}  // namespace

link::StepResult ReadArchiveAsked(RunContext& run, link::Prompter* prompter) {
  link::LinkEngine& engine = run.engine;
  for (;;) {
    std::string errorText;
    const store::StoreResult loaded = run.store->LoadArchive(run.fileName, &errorText);
    if (loaded == store::StoreOk) break;
    // Only a file that could not be read may read better another time.
    if (loaded != store::StoreFailed) {
      engine.Log().Format("!!! File(%s) is NOT compatible \n\n", run.fileName.c_str());
      return FailStep(engine, link::LinkFileIncompatible,
                      link::Cause::File(run.fileName + ": " + Incompatibility(loaded)));
    }
    const link::Cause cause = link::Cause::File(
        run.fileName + ": " + (errorText.empty() ? "the archive could not be read" : errorText));
    if (!AskRetry(prompter, errorText.empty() ? "Read file error." : errorText, cause)) {
      engine.Log().Format("!!! File(%s) Read Err\n\n", run.fileName.c_str());
      return {link::LinkFileReadCancelled, cause};
    }
  }
  engine.Log().Format("<<====Read File (%s)\n\n", run.fileName.c_str());
  return link::LinkOk;
}

}  // namespace orgalink::operations
