// SPDX-License-Identifier: GPL-3.0-or-later
// One application's records from the store to the organizer.

#include "operations/send_appli.h"

#include <cerrno>
#include <new>
#include <vector>

#include "operations/operation_steps.h"
#include "transfer/appli_code.h"
#include "transfer/send_all_records.h"

namespace orgalink::operations {

using link::StepResult;

StepResult SendAppli(RunContext& run, link::ProgressSink* progress, transfer::TransferRole role) {
  link::LinkEngine& engine = run.engine;
  const auto kind = static_cast<std::uint8_t>(run.appliKind);
  const int count = run.store != nullptr ? run.store->RecordCount(kind) : 0;
  if (count <= 0) {
    engine.Log().Line("---Pass (This appli is NO data)\n\n");
    return link::LinkOk;
  }
  const int size = run.store->RecordsSize(kind);
  if (size <= 0) {
    engine.Log().Line("!!! File data read Err\n\n");
    return FailStep(engine, link::LinkFileIncompatible, StoreRefused("size the records to send"));
  }
  std::vector<std::uint8_t> buffer;
  try {
    buffer.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    engine.Log().Line("!!!Memory Err\n\n");
    return FailStep(engine, link::LinkIoError, link::Cause::System("allocating memory", ENOMEM));
  }
  int length = 0;
  if (run.store->GetRecords(kind, buffer, length) != store::StoreOk) {
    return FailStep(engine, link::LinkFileIncompatible, StoreRefused("give the records to send"));
  }
  return transfer::SendAllRecords(engine, progress, std::span(buffer).first(length),
                                  transfer::AppliCode(run.appliKind), count, role);
}

}  // namespace orgalink::operations
