// Sending all records of one application from a record stream.

#include <algorithm>

#include "link/text_format.h"
#include "transfer/appli_code.h"
#include "transfer/command_steps.h"
#include "transfer/send_records.h"

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
int CheckStream(LinkEngine& engine, const std::uint8_t* stream, int length, int recordCount,
                Cause& why) {
  const int records = static_cast<int>(std::count(stream, stream + length, kTerminator));
  if (records == 0 || stream[length - 1] != kTerminator) {
    engine.SetStatus(link::LinkIoError, -1);
    why = Cause::WrongData("end of the record stream", kTerminator, stream[length - 1]);
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

// Reports the share of records sent when the last report is long enough ago.
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
    link::Report(progress_,
                 {link::ProgressKind::Progress, static_cast<int>(100LL * sent / records_), scope_});
    last_ = now;
  }

 private:
  platform::Clock& clock_;
  link::ProgressSink* progress_;
  link::ProgressScope scope_;
  int records_;
  platform::Tick last_;
};

}  // namespace

StepResult SendAllRecords(LinkEngine& engine, link::ProgressSink* progress,
                          const std::uint8_t* stream, int length, std::uint8_t appliCode,
                          int recordCount, TransferRole role) {
  if (appliCode == ExpenseCategoryCode) return SendExpenseCategory(engine, stream, length, role);
  if (!engine.Link().IsPortOpen() || stream == nullptr || length <= 0) {
    return {link::LinkIoError, NothingToSend(engine)};
  }
  Cause why;
  const int records = CheckStream(engine, stream, length, recordCount, why);
  if (records < 0) return {link::LinkIoError, std::move(why)};
  link::Report(progress, {link::ProgressKind::Status, 100, link::ProgressScope::Application});
  SendProgress sendProgress(engine, progress, appliCode, records);
  const std::uint8_t* record = stream;
  for (int i = 0; i < records; ++i) {
    const std::uint8_t* end = std::find(record, stream + length, kTerminator);
    const StepResult status =
        SendRecord(engine, record, static_cast<int>(end - record), appliCode, role);
    if (status != link::LinkOk) {
      engine.Log().Format("!!!Abort (Now RecordIdx=%d)\n\n", i);
      return status;
    }
    record = end + 1;
    sendProgress.RecordSent(i + 1);
  }
  link::Report(progress, {link::ProgressKind::Progress, 100, link::ProgressScope::Application});
  engine.Log().Format("---Total Send Records=%d\n\n", records);
  if (IsPcRole(role)) return link::LinkOk;
  return SendLogged(engine, link::FINISH_ALL_RECORDS, "---HDD sends FINISH_ALL_RECORDS\n\n");
}

}  // namespace orgalink::transfer
