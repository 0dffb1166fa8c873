// The archive write of a backup, with the user's Retry and Cancel.

#include "store/archive_write.h"

#include "operations/archive_files.h"
#include "operations/operation_steps.h"

namespace orgalink::operations {

namespace {

// What the Retry or Cancel question says: the system's message for the step
// that failed, or the generic text, followed by what refused the write
// before it began (the free space) when that is known.
std::string FailureText(store::StoreResult saved, const store::ArchiveWrite& write) {
  if (saved == store::StoreRejected && !write.errorText.empty()) return write.errorText;
  std::string text = "Write file error.";
  if (!write.refusal.empty()) text += "\nCause: " + write.refusal + ".";
  return text;
}

}  // namespace

link::LinkStatus WriteArchiveAsked(RunContext& run, link::Prompter* prompter) {
  link::LinkEngine& engine = run.engine;
  for (;;) {
    store::ArchiveWrite write;
    write.path = run.fileName;
    write.scramble = run.fileScramble ? 1 : 0;
    write.keepExisting = run.numberedArchive;
    const store::StoreResult saved = run.store->SaveArchive(write);
    if (saved == store::StoreOk) {
      run.fileName = write.path;
      break;
    }
    if (!AskRetry(prompter, FailureText(saved, write))) {
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
