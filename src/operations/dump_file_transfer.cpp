// SPDX-License-Identifier: GPL-3.0-or-later
// The dump-file RunModes and the emulated organizer's two transfers: one
// application between a dump file and the link.

#include "operations/dump_file_transfer.h"

#include <cstdio>

#include "operations/dump_file.h"
#include "operations/operation_steps.h"
#include "operations/receive_appli.h"
#include "operations/send_appli.h"
#include "operations/slot_table.h"

namespace orgalink::operations {

namespace {

// One application, and a spare slot.
constexpr int kDumpSlots = 2;

// Runs `step` with a fresh slot table in the run's store, released on every
// way out.
template <typename Step>
link::StepResult WithDumpSlots(RunContext& run, Step step) {
  if (run.store != nullptr) {
    const SlotTable table(*run.store, kDumpSlots);
    if (table.ok()) return step(*run.store);
  }
  run.engine.Log().Line("!!! GetAppliBuf Err");
  return FailStep(run.engine, link::LinkIoError, StoreRefused("make room for a dump file"));
}

}  // namespace

link::StepResult SendDumpFile(RunContext& run, link::ProgressSink* progress,
                              transfer::TransferRole role) {
  return WithDumpSlots(run, [&](store::AppliStore& store) {
    link::LinkEngine& engine = run.engine;
    const std::string path = DumpFilePath(run.dumpDirectory, run.appliKind, DumpDirection::Send);
    if (LoadDumpFile(store, path, static_cast<std::uint8_t>(run.appliKind)) != store::StoreOk) {
      engine.Log().Format("!!! File(%s) Read Err\n\n", path.c_str());
      return FailStep(engine, link::LinkFileIncompatible,
                      link::Cause::File(path + ": not a readable dump file"));
    }
    engine.Log().Format("<<====Read File (%s)\n\n", path.c_str());
    return SendAppli(run, progress, role);
  });
}

link::StepResult ReceiveDumpFile(RunContext& run, link::ProgressSink* progress,
                                 transfer::TransferRole role) {
  return WithDumpSlots(run, [&](store::AppliStore& store) {
    link::LinkEngine& engine = run.engine;
    const link::StepResult received = ReceiveAppli(run, progress, role);
    if (received != link::LinkOk) return received;
    const std::string path = DumpFilePath(run.dumpDirectory, run.appliKind, DumpDirection::Receive);
    // A missing file is no failure.
    std::remove(path.c_str());
    if (SaveDumpFile(store, path, static_cast<std::uint8_t>(run.appliKind)) != store::StoreOk) {
      engine.Log().Format("!!! Dump File(%s) Write Err\n\n", path.c_str());
      return FailStep(engine, link::LinkIoError, link::Cause::File(path + ": cannot be written"));
    }
    engine.Log().Format("====>>Write File (%s)\n\n", path.c_str());
    return link::StepResult(link::LinkOk);
  });
}

}  // namespace orgalink::operations
