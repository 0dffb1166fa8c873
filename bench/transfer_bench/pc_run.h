// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "link/link_status.h"
#include "platform/serial_port.h"
#include "store/code_tables.h"

namespace orgalink::bench {

struct RunRequest {
  std::uint8_t runMode = 1;  // 1 backup, 2 restore
  std::string archive;
  std::string baudText = "19200";
  bool echo = true;
  // Abort this long after the first records begin to move; none runs to the end.
  std::optional<std::chrono::milliseconds> abortAfter;
  // A restore's safety backup goes there; empty for none.
  std::string safetyArchive;
  // A backup into memory only, as a verification reads the organizer back.
  bool readBack = false;
};

struct RunFigures {
  link::LinkStatus status = link::LinkIoError;
  double wallSeconds = 0;
  // Of the wall time, the wait for the organizer's first offer of a link:
  // it comes about once a second, whatever the PC does.
  double offerWaitSeconds = 0;
  // Every thread of the process (the in-process organizer's too), and the
  // PC's worker thread alone.
  double processCpuSeconds = 0;
  double pcThreadCpuSeconds = 0;
  std::uint64_t bytesWritten = 0;
  std::uint64_t bytesRead = 0;
  std::uint64_t writes = 0;
  // Abort runs only: from the request to the worker's first return from the
  // port (the end of the wait it was in), and to the end of the run, the
  // closing NACK and END_COMMUNICATION included.
  std::optional<double> abortNoticedMs;
  std::optional<double> abortTotalMs;
  // The largest resident set of the process during this run alone (see
  // RunMemory; peakIsOwn false: the process's peak so far), and how far it
  // rose above the resident set at the run's start.
  long peakResidentBytes = 0;
  long residentGrowthBytes = 0;
  bool peakIsOwn = false;
};

// One communication on a worker thread of its own, as the progress dialog
// runs it, through a port from `opener`.
RunFigures RunOnce(const platform::PortOpener& opener, const store::CharTables& tables,
                   const RunRequest& request);

}  // namespace orgalink::bench
