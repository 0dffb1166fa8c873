// The archive read of a restore, with the user's Retry and Cancel.

#include "operations/archive_files.h"
#include "operations/operation_steps.h"

namespace orgalink::operations {

link::LinkStatus ReadArchiveAsked(RunContext& run, link::Prompter* prompter) {
  link::LinkEngine& engine = run.engine;
  for (;;) {
    std::string errorText;
    const store::StoreResult loaded = run.store->LoadArchive(run.fileName, &errorText);
    if (loaded == store::StoreOk) break;
    // Only a file that could not be read may read better another time.
    if (loaded != store::StoreFailed) {
      engine.LogFormat("!!! File(%s) is NOT compatible \n\n", run.fileName.c_str());
      return FailStep(engine, link::LinkFileIncompatible);
    }
    if (!AskRetry(prompter, errorText.empty() ? "Read file error." : errorText)) {
      engine.LogFormat("!!! File(%s) Read Err\n\n", run.fileName.c_str());
      return link::LinkFileReadCancelled;
    }
  }
  engine.LogFormat("<<====Read File (%s)\n\n", run.fileName.c_str());
  return link::LinkOk;
}

}  // namespace orgalink::operations
