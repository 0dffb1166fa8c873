// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One backup or restore as the user starts it, run in-process against the
// simulated organizer on virtual time, with the organizer, the disk or the
// user misbehaving; and everything the run left behind.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/step_result.h"
#include "sim/sim_options.h"

namespace orgalink::faulttest {

using Bytes = std::vector<std::uint8_t>;

// The cable's rate, as the user interface issues it.
inline constexpr int kBaud = 19200;
// The configured time-outs, apart from each other and from the fixed 30 s
// waits of the line, so that a run that waits on the wrong one shows.
inline constexpr long kCommandTimeoutMs = 7000;
inline constexpr long kDataTimeoutMs = 5000;
// How long the user watches "Waiting for Organizer" before giving up.
inline constexpr std::uint32_t kPatienceMs = 5000;
// Room on the disk: the archive write fails part-way through.
inline constexpr std::uint64_t kDiskRoom = 1000;

enum class Operation { Backup, Restore };

// When the user asks to abort, if at all.
enum class Abort {
  Never,
  WhileWaiting,  // kPatienceMs after the PC starts waiting for LINK_REQUEST
  AfterARecord,  // as soon as the first Telephone record is in
  WhilePcSends,  // while the PC's byte number `abort_byte` goes out
};

struct FaultSetup {
  Operation operation = Operation::Backup;
  sim::SimFaults faults{};
  std::uint8_t device_code_high = 2;  // what the organizer claims to be
  Abort abort = Abort::Never;
  std::uint64_t abort_byte = 0;
  bool disk_full = false;  // the user then answers Cancel to Retry/Cancel
  Bytes archive{};         // at the target path before the run; empty: none
};

struct FaultOutcome {
  link::StepResult status{link::LinkStatus{-1}};
  std::uint32_t elapsed_ms = 0;  // virtual time of the whole communication
  // Virtual time from the abort request to the end of the run.
  std::optional<std::uint32_t> abort_to_end_ms;
  std::string log;
  Bytes archive;                    // at the target path afterwards
  std::vector<std::string> files;   // the run's folder afterwards
  int descriptors_left = 0;         // opened by the run and still open
  int sessions = 0;                 // communications the organizer took part in
  std::vector<std::uint8_t> heard;  // commands it took in its last session
  std::uint64_t pc_bytes = 0;       // what the PC put on the line
  std::vector<std::string> shown;   // message boxes, in order
};

// The archive's name in the run's folder; the log is "comm.log" beside it.
inline constexpr const char* kArchiveName = "backup.bkf";

FaultOutcome RunWithFault(const FaultSetup& setup);

// The committed sample organizer's archive: what the user kept from an
// earlier backup.
Bytes SampleArchive();

}  // namespace orgalink::faulttest
