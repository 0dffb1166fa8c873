// SPDX-License-Identifier: GPL-3.0-or-later
// The archive write of a backup, with the user's Retry and Cancel.

#include "operations/archive_write.h"

#include "operations/operation_steps.h"
#include "store/archive_write.h"

namespace orgalink::operations {

namespace {

// What the Retry or Cancel question says: the system's message for the step
// that failed, or the generic text.
std::string FailureText(store::StoreResult saved, const store::ArchiveWrite& write) {
  if (saved == store::StoreRejected && !write.errorText.empty()) return write.errorText;
  return "Write file error.";
}

}  // namespace

link::Cause ArchiveWriteCause(const store::ArchiveWrite& write) {
  if (!write.refusal.empty()) return link::Cause::File(write.refusal, write.errorNumber);
  if (!write.errorText.empty()) {
    return link::Cause::File(write.path + ": " + write.errorText, write.errorNumber);
  }
  return link::Cause::File(write.path + ": the archive could not be written");
}

link::StepResult WriteArchiveAsked(RunContext& run, link::Prompter* prompter) {
  link::LinkEngine& engine = run.engine;
  for (;;) {
    store::ArchiveWrite write;
    write.path = run.fileName;
    write.scramble = run.fileScramble;
    write.keepExisting = run.numberedArchive;
    const store::StoreResult saved = run.store->SaveArchive(write);
    if (saved == store::StoreOk) {
      run.fileName = write.path;
      break;
    }
    const link::Cause cause = ArchiveWriteCause(write);
    if (!AskRetry(prompter, FailureText(saved, write), cause)) {
      engine.Log().Line("!!!Write File Err\n\n");
      engine.Log().Format("!!!Write File(%s) Err\n\n", run.fileName.c_str());
      return {link::LinkFileReadCancelled, cause};
    }
  }
  engine.Log().Format("====>>Write File (%s)\n\n", run.fileName.c_str());
  run.store->FreeAppliBuf();
  return link::LinkOk;
}

}  // namespace orgalink::operations
