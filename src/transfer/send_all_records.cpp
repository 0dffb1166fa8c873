// SPDX-License-Identifier: GPL-3.0-or-later
// Sending all records of one application from a record stream.

#include "transfer/send_all_records.h"

#include <algorithm>

#include "link/text_format.h"
#include "transfer/appli_code.h"
#include "transfer/command_steps.h"
#include "transfer/nothing_to_send.h"
#include "transfer/send_expense_category.h"
#include "transfer/send_record.h"

namespace orgalink::transfer {

using link::Cause;
using link::LinkEngine;
using link::StepResult;

namespace {

constexpr std::uint8_t kTerminator = 0xFF;
// Progress is throttled so that a fast send does not flood the dialog.
constexpr std::uint32_t kProgressIntervalMs = 500;

// Checks the stream before anything goes on the line; returns its record
// count, or -1 after refusing it with `why`.
int CheckStream(LinkEngine& engine, std::span<const std::uint8_t> stream, int recordCount,
                Cause& why) {
  const int records = static_cast<int>(std::count(stream.begin(), stream.end(), kTerminator));
  if (records == 0 || stream.back() != kTerminator) {
    engine.SetStatus(link::LinkIoError, -1);
    why = Cause::WrongData("end of the record stream", kTerminator, stream.back());
    return -1;
  }
  if (records != recordCount) {
    engine.Log().Line("!!! Record Data Err(number of records)\n");
    engine.SetStatus(link::LinkIoError, -1);
    why = Cause::WrongData(
        "number of records", -1, -1,
        link::Format("the stream holds %d records where %d were counted", records, recordCount));
    return -1;
  }
  return records;
}

// Reports the records sent and their share when the last report is long enough ago.
class SendProgress {
 public:
  SendProgress(LinkEngine& engine, link::ProgressSink* progress, std::uint8_t appliCode,
               int records)
      : clock_(engine.Link().Clock()),
        progress_(progress),
        scope_(appliCode == TelephoneCode ? link::ProgressScope::Telephone
                                          : link::ProgressScope::Application),
        records_(records),
        last_(clock_.Now()) {}

  void RecordSent(int sent) {
    const platform::Tick now = clock_.Now();
    if (now - last_ <= kProgressIntervalMs) return;
    link::Report(progress_, {link::ProgressKind::Records, sent, scope_});
    link::Report(progress_,
                 {link::ProgressKind::Progress, static_cast<int>(100LL * sent / records_), scope_});
    last_ = now;
  }

  // The count, at least once: a fast send makes no report on the way.
  void AllSent() { link::Report(progress_, {link::ProgressKind::Records, records_, scope_}); }

 private:
  platform::Clock& clock_;
  link::ProgressSink* progress_;
  link::ProgressScope scope_;
  int records_;
  platform::Tick last_;
};

}  // namespace

StepResult SendAllRecords(LinkEngine& engine, link::ProgressSink* progress,
                          std::span<const std::uint8_t> stream, std::uint8_t appliCode,
                          int recordCount, TransferRole role) {
  if (appliCode == ExpenseCategoryCode) return SendExpenseCategory(engine, stream, role);
  if (!engine.Link().IsPortOpen() || stream.empty()) {
    return {link::LinkIoError, NothingToSend(engine)};
  }
  Cause why;
  const int records = CheckStream(engine, stream, recordCount, why);
  if (records < 0) return {link::LinkIoError, std::move(why)};
  link::Report(progress, {link::ProgressKind::Status, 100, link::ProgressScope::Application});
  SendProgress sendProgress(engine, progress, appliCode, records);
  std::span<const std::uint8_t> rest = stream;
  for (int i = 0; i < records; ++i) {
    const auto end = std::find(rest.begin(), rest.end(), kTerminator);
    const auto size = static_cast<std::size_t>(end - rest.begin());
    const StepResult status = SendRecord(engine, rest.first(size), appliCode, role);
    if (status != link::LinkOk) {
      engine.Log().Format("!!!Abort (Now RecordIdx=%d)\n\n", i);
      return status;
    }
    rest = rest.subspan(size + 1);
    sendProgress.RecordSent(i + 1);
  }
  sendProgress.AllSent();
  link::Report(progress, {link::ProgressKind::Progress, 100, link::ProgressScope::Application});
  engine.Log().Format("---Total Send Records=%d\n\n", records);
  if (IsPcRole(role)) return link::LinkOk;
  return SendLogged(engine, link::FINISH_ALL_RECORDS, "---HDD sends FINISH_ALL_RECORDS\n\n");
}

}  // namespace orgalink::transfer
