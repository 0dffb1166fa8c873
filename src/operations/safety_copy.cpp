// SPDX-License-Identifier: GPL-3.0-or-later
// The safety copy a restore takes of the organizer before it empties it.

#include "operations/safety_copy.h"

#include "operations/archive_write.h"
#include "operations/backup.h"
#include "operations/operation_steps.h"
#include "store/appli_kind.h"
#include "store/archive_write.h"

namespace orgalink::operations {

using link::StepResult;

namespace {

StepResult Receive(RunContext& run, store::AppliStore& copy, link::ProgressSink* progress) {
  // The restore's store holds the archive to send; the copy gets a store of
  // its own with the same tables and device code.
  RunContext receiving = run;
  receiving.store = &copy;
  // Nothing has been sent yet, so a short Telephone answer can be checked
  // by asking again rather than refused: an organizer left with one record
  // by a failed restore must still be restorable.
  receiving.confirmShortTelephone = true;
  if (copy.GetAppliBuf(store::ArchiveSlots) != store::StoreOk) {
    run.engine.Log().Line("!!! GetAppliBuf Err");
    return FailStep(run.engine, link::LinkIoError, StoreRefused("make room for the safety copy"));
  }
  return ReceiveApplications(receiving, progress, transfer::PcFull, link::ProgressScope::Safety);
}

StepResult Write(RunContext& run, store::AppliStore& copy) {
  store::ArchiveWrite write;
  write.path = run.safety.archive;
  write.scramble = run.fileScramble;
  write.keepExisting = true;
  if (copy.SaveArchive(write) != store::StoreOk) {
    const std::string why = !write.errorText.empty() ? write.errorText
                            : !write.refusal.empty() ? write.refusal
                                                     : "Write file error.";
    run.engine.Log().Format("!!!Write Safety File(%s) Err: %s\n\n", write.path.c_str(),
                            why.c_str());
    run.safety.writeError = why;
    return FailStep(run.engine, link::LinkFileReadCancelled, ArchiveWriteCause(write));
  }
  run.safety.archive = write.path;
  run.engine.Log().Format("====>>Write Safety File (%s)\n\n", write.path.c_str());
  return link::LinkOk;
}

}  // namespace

StepResult TakeSafetyCopy(RunContext& run, link::ProgressSink* progress) {
  link::LinkEngine& engine = run.engine;
  engine.Log().Line("\n========== Start Safety Backup ==========\n\n");
  store::AppliStore copy = *run.store;
  const int restoring = run.appliKind;
  StepResult status = Receive(run, copy, progress);
  run.appliKind = restoring;
  if (status == link::LinkOk) status = Write(run, copy);
  if (status != link::LinkOk) {
    engine.Log().Line("!!!Safety Backup Err (Nothing Deleted)\n\n");
    run.safety.failed = true;
    return status;
  }
  run.safety.written = true;
  engine.Log().Line("========== End Safety Backup ==========\n\n");
  return link::LinkOk;
}

}  // namespace orgalink::operations
