// SPDX-License-Identifier: GPL-3.0-or-later
// One application's records from the organizer into the store.

#include "operations/receive_appli.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <vector>

#include "link/text_format.h"
#include "operations/operation_steps.h"
#include "operations/record_check.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"
#include "transfer/appli_code.h"
#include "transfer/get_all_records.h"

namespace orgalink::operations {

using link::StepResult;

namespace {

// The organizer never sends 0xFF inside a record, but a line that did would
// turn one record into two; code tables may produce it too. Either way the
// archive could not give the record back, so it is refused here, where the
// application can still be named.
bool StreamIsStorable(RunContext& run, std::uint8_t kind, const std::uint8_t* stream, int length,
                      int records) {
  const std::string name = store::ApplicationName(kind);
  const auto size = static_cast<std::size_t>(length);
  if (store::CountTerminators({stream, size}) != static_cast<std::size_t>(records)) {
    run.engine.Log().Format("!!!0xFF in %s Record (Not Stored)\n\n", name.c_str());
    return false;
  }
  const int bad = FirstUnstorableRecord(*run.store, kind, {stream, size});
  if (bad >= 0) {
    run.engine.Log().Format("!!!0xFF in %s Record %d after Code Conversion (Not Stored)\n\n",
                            name.c_str(), bad + 1);
    return false;
  }
  return true;
}

// Receives the current application into `buffer`; with the safety copy's
// confirmation, a short Telephone transfer from the base model is asked for
// again and taken when the organizer answers the same twice (an early stop
// does not repeat itself record for record), or when the second answer is
// long enough to pass the ordinary check.
StepResult Receive(RunContext& run, link::ProgressSink* progress, transfer::TransferRole role,
                   std::vector<std::uint8_t>& buffer, int& length, int& records) {
  link::LinkEngine& engine = run.engine;
  const std::uint8_t code = transfer::AppliCode(run.appliKind);
  const bool confirm =
      run.confirmShortTelephone && run.appliKind == store::Telephone && engine.ModelVariant() == 0;
  transfer::TelephoneCheck check = run.telephone;
  if (confirm) check.minRecords = 0;
  StepResult received =
      transfer::GetAllRecords(engine, progress, std::span(buffer).first(ReceiveBufferSize), length,
                              code, role, check, &records);
  if (!received || !confirm || records < 1 || records > run.telephone.minRecords) {
    return received;
  }
  engine.Log().Format("---Telephone Asked Again (%d Records)\n\n", records);
  std::vector<std::uint8_t> again(buffer.size(), 0);
  int againLength = 0;
  int againRecords = 0;
  received = transfer::GetAllRecords(engine, progress, std::span(again).first(ReceiveBufferSize),
                                     againLength, code, role, check, &againRecords);
  if (!received) return received;
  // A second answer long enough for the ordinary check is a whole one.
  if (againRecords > run.telephone.minRecords) {
    buffer.swap(again);
    length = againLength;
    records = againRecords;
    return link::LinkOk;
  }
  if (againLength != length ||
      !std::equal(buffer.begin(), buffer.begin() + length, again.begin())) {
    engine.Log().Line("!!!Receive Not Perfect2\n\n");
    return FailStep(
        engine, link::LinkReceiveIncomplete,
        link::Cause::WrongData("count of Telephone records", records, againRecords,
                               link::Format("the organizer sent %d Telephone records, then %d "
                                            "different ones when asked again: it stopped early",
                                            records, againRecords)));
  }
  return link::LinkOk;
}

}  // namespace

StepResult ReceiveAppli(RunContext& run, link::ProgressSink* progress,
                        transfer::TransferRole role) {
  link::LinkEngine& engine = run.engine;
  std::vector<std::uint8_t> buffer;
  try {
    buffer.assign(ReceiveBufferSize, 0);
  } catch (const std::bad_alloc&) {
    engine.Log().Line("!!!Memory Err\n\n");
    return FailStep(engine, link::LinkIoError, link::Cause::System("allocating memory", ENOMEM));
  }
  const auto kind = static_cast<std::uint8_t>(run.appliKind);
  int length = 0;
  int records = 0;
  const StepResult received = Receive(run, progress, role, buffer, length, records);
  if (received == link::LinkOk && run.received != nullptr && kind < run.received->size()) {
    (*run.received)[kind].assign(buffer.begin(), buffer.begin() + length);
  }
  if (received != link::LinkOk || length == 0) return received;
  if (run.store == nullptr) {
    engine.Log().Line("!!!Write AppliData Err\n\n");
    return FailStep(engine, link::LinkIoError, StoreRefused("be found"));
  }
  if (!StreamIsStorable(run, kind, buffer.data(), length, records)) {
    return FailStep(engine, link::LinkIoError,
                    link::Cause::WrongData("record", -1, 0xFF,
                                           "a " + store::ApplicationName(kind) +
                                               " record holds 0xFF, which an archive cannot keep"));
  }
  if (run.store->AddRecords(kind, std::span(buffer).first(static_cast<std::size_t>(length))) !=
      store::StoreOk) {
    engine.Log().Line("!!!Write AppliData Err\n\n");
    return FailStep(engine, link::LinkIoError, StoreRefused("keep the records received"));
  }
  return link::LinkOk;
}

}  // namespace orgalink::operations
