// The archive write of a backup, with the user's Retry and Cancel.

#include "operations/archive_files.h"
#include "operations/operation_steps.h"

namespace orgalink::operations {

link::LinkStatus WriteArchiveAsked(RunContext& run, link::Prompter* prompter) {
  link::LinkEngine& engine = run.engine;
  for (;;) {
    std::string errorText;
    const store::StoreResult saved =
        run.store->SaveArchive(run.fileName, run.fileScramble ? 1 : 0, &errorText);
    if (saved == store::StoreOk) break;
    const bool explained = saved == store::StoreRejected && !errorText.empty();
    if (!AskRetry(prompter, explained ? errorText : "Write file error.")) {
      engine.Log("!!!Write File Err\n\n");
      engine.LogFormat("!!!Write File(%s) Err\n\n", run.fileName.c_str());
      return link::LinkFileReadCancelled;
    }
  }
  engine.LogFormat("====>>Write File (%s)\n\n", run.fileName.c_str());
  run.store->FreeAppliBuf();
  return link::LinkOk;
}

}  // namespace orgalink::operations
