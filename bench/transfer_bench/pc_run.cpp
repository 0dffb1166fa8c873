// SPDX-License-Identifier: GPL-3.0-or-later
#include "pc_run.h"

#include <thread>

#include "bench_owner.h"
#include "counting_port.h"
#include "operations/configure_run.h"
#include "operations/read_back_check.h"
#include "operations/run_communication.h"
#include "store/appli_kind.h"
#include "usage.h"

namespace orgalink::bench {

namespace {

// Long enough for the negotiation, which waits for the organizer's offer.
constexpr std::chrono::seconds kTransferStartLimit{30};

settings::RunSettings Settings(const RunRequest& request, const store::CharTables& tables) {
  settings::RunSettings settings;
  settings.runMode = static_cast<settings::RunMode>(request.runMode);
  settings.baudRate = request.baudText;
  settings.fileName = request.archive;
  settings.safetyArchive = request.safetyArchive;
  settings.echoBack = request.echo ? 1 : 0;
  settings.sortTable = &tables.weights;
  settings.codeTable = &tables.incoming;
  return settings;
}

double Milliseconds(BenchClock::rep from, BenchClock::rep to) {
  return std::chrono::duration<double, std::milli>(BenchClock::duration(to - from)).count();
}

// Asks the worker to stop as the dialog's button does.
void AbortMidTransfer(BenchOwner& owner, platform::CancelToken& cancel, LineCounts& counts,
                      std::chrono::milliseconds after) {
  if (!owner.WaitForTransfer(kTransferStartLimit)) return;
  std::this_thread::sleep_for(after);
  counts.abort_posted = BenchClock::now().time_since_epoch().count();
  cancel.Set();
}

}  // namespace

RunFigures RunOnce(const platform::PortOpener& opener, const store::CharTables& tables,
                   const RunRequest& request) {
  LineCounts counts;
  BenchOwner owner;
  RunFigures figures;
  BenchClock::time_point start;
  BenchClock::time_point end;
  platform::CancelToken cancel;
  const RunMemory memory;
  const double process_cpu = ProcessCpuSeconds();
  std::thread worker([&] {
    link::LinkEngine engine(platform::SystemClock::Instance());
    engine.Link().SetAbortToken(cancel);
    engine.Link().SetPortOpener(CountingOpener(opener, counts));
    store::AppliStore store;
    operations::RunContext run(engine);
    operations::ConfigureRun(run, store, Settings(request, tables));
    operations::ReceivedStreams received;
    if (request.readBack) {
      store.GetAppliBuf(store::ArchiveSlots);
      run.received = &received;
    }
    const double thread_cpu = ThreadCpuSeconds();
    start = BenchClock::now();
    figures.status = operations::RunCommunication(run, owner.Front(),
                                                  static_cast<settings::RunMode>(request.runMode))
                         .status;
    end = BenchClock::now();
    figures.pcThreadCpuSeconds = ThreadCpuSeconds() - thread_cpu;
  });
  if (request.abortAfter) AbortMidTransfer(owner, cancel, counts, *request.abortAfter);
  worker.join();

  figures.processCpuSeconds = ProcessCpuSeconds() - process_cpu;
  figures.wallSeconds = std::chrono::duration<double>(end - start).count();
  if (counts.first_read != 0) {
    figures.offerWaitSeconds =
        Milliseconds(start.time_since_epoch().count(), counts.first_read) / 1000.0;
  }
  figures.bytesWritten = counts.bytes_written;
  figures.bytesRead = counts.bytes_read;
  figures.writes = counts.writes;
  figures.peakResidentBytes = memory.PeakBytes();
  figures.residentGrowthBytes = memory.GrowthBytes();
  figures.peakIsOwn = memory.Own();
  const BenchClock::rep posted = counts.abort_posted;
  const BenchClock::rep noticed = counts.first_return_after_abort;
  // An abort posted after the run had ended measures nothing.
  if (posted != 0 && posted < end.time_since_epoch().count()) {
    figures.abortTotalMs = Milliseconds(posted, end.time_since_epoch().count());
    if (noticed != 0) figures.abortNoticedMs = Milliseconds(posted, noticed);
  }
  return figures;
}

}  // namespace orgalink::bench
