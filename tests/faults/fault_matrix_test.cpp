// SPDX-License-Identifier: GPL-3.0-or-later
// Every way a communication can go wrong, met by the real backup and restore
// against the simulated organizer: the run ends in time with the right
// status, releases the organizer, and leaves the user's archive, the
// descriptors and the folder as they were.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "fault_run.h"
#include "link/command_code.h"
#include "support/transfer_peer.h"

namespace orgalink::faulttest {
namespace {

using testsupport::InLog;
using testsupport::LinesInOrder;

// Beyond its budget a run may take this long: the part before an early fault
// and the closing NACK and END_COMMUNICATION with their quiet-line waits.
constexpr std::uint32_t kSlackMs = 1000;
// From the user's abort request to the end of the run: the request is seen at
// once; the rest is the closing, after the line has gone quiet of whatever
// the organizer was sending.
constexpr std::uint32_t kAbortLatencyMs = 100;

// What lies at the target path before the run.
enum class Before { SampleArchive, TruncatedArchive };

struct FaultCase {
  const char* name;
  FaultSetup setup;
  Before before = Before::SampleArchive;
  link::LinkStatus status;
  const char* log_line;              // tells the cause apart
  const char* box = nullptr;         // the one message box shown, if any
  bool organizer_closed = true;      // the organizer took the closing NACK and END_COMMUNICATION
  bool organizer_untouched = false;  // it never linked; the PC sent the closing frames only
  // The budget: the whole sound run when the fault lets the transfer
  // through, and the configured time-out the run may spend waiting.
  bool whole_run = false;
  long may_wait_ms = 0;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

Bytes ArchiveBefore(Before before) {
  Bytes archive = SampleArchive();
  if (before == Before::TruncatedArchive) archive.resize(archive.size() / 2);
  return archive;
}

// A fault-free run of each operation, for the archive a sound backup writes
// and the time each takes.
struct Reference {
  Bytes archive;
  std::uint32_t backup_ms = 0;
  std::uint32_t restore_ms = 0;
};

const Reference& Sound() {
  static const Reference reference = [] {
    Reference r;
    const FaultOutcome backup = RunWithFault({.operation = Operation::Backup});
    EXPECT_EQ(backup.status, link::LinkOk) << backup.log;
    r.archive = backup.archive;
    r.backup_ms = backup.elapsed_ms;
    const FaultOutcome restore =
        RunWithFault({.operation = Operation::Restore, .archive = SampleArchive()});
    EXPECT_EQ(restore.status, link::LinkOk) << restore.log;
    r.restore_ms = restore.elapsed_ms;
    return r;
  }();
  return reference;
}

bool EndsWithClosing(const std::vector<std::uint8_t>& heard) {
  return heard.size() >= 2 && heard[heard.size() - 2] == link::NACK &&
         heard.back() == link::END_COMMUNICATION;
}

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultMatrix, EndsInTimeReleasesTheOrganizerAndKeepsTheArchive) {
  const FaultCase& c = GetParam();
  FaultSetup setup = c.setup;
  setup.archive = ArchiveBefore(c.before);
  const FaultOutcome o = RunWithFault(setup);

  EXPECT_EQ(o.status, c.status);
  EXPECT_NE(o.log.find(InLog(c.log_line)), std::string::npos) << o.log;
  if (c.status == link::LinkOk) {
    EXPECT_EQ(o.log.find(InLog("---PC sends NACK")), std::string::npos) << o.log;
    ASSERT_FALSE(o.heard.empty());
    EXPECT_EQ(o.heard.back(), link::END_COMMUNICATION);
    EXPECT_EQ(o.archive, Sound().archive);
  } else {
    EXPECT_TRUE(LinesInOrder(o.log, {"---PC sends NACK\n\n", "---PC sends END_COMMUNICATION\n\n"}))
        << o.log;
    EXPECT_EQ(o.archive, setup.archive);
  }
  EXPECT_EQ(EndsWithClosing(o.heard), c.organizer_closed);
  if (c.organizer_untouched) {
    EXPECT_EQ(o.sessions, 0);
    EXPECT_EQ(o.pc_bytes, 10u);  // NACK and END_COMMUNICATION
  }
  EXPECT_EQ(o.shown.size(), c.box ? 1u : 0u);
  if (c.box && !o.shown.empty()) {
    EXPECT_EQ(o.shown[0].rfind(c.box, 0), 0u) << o.shown[0];
  }
  EXPECT_EQ(o.files, (std::vector<std::string>{kArchiveName, "comm.log"}));
  EXPECT_EQ(o.descriptors_left, 0);

  if (o.abort_to_end_ms) {
    EXPECT_LE(*o.abort_to_end_ms, kAbortLatencyMs);
  } else {
    const std::uint32_t sound =
        c.setup.operation == Operation::Backup ? Sound().backup_ms : Sound().restore_ms;
    EXPECT_LE(o.elapsed_ms, (c.whole_run ? sound : 0) + c.may_wait_ms + kSlackMs);
  }
}

// Packets count from 1 over the whole session, in both directions; the
// sample's Telephone application alone takes more than four. ACKs are the
// organizer's: six for the deletions of a restore, then two per packet.
INSTANTIATE_TEST_SUITE_P(
    Cases, FaultMatrix,
    ::testing::Values(
        FaultCase{.name = "BadChecksumMidApplication",
                  .setup = {.faults = {.bad_checksum_at_packet = 3}},
                  .status = link::LinkIoError,
                  .log_line = "!!!CheckSum Err\n\n"},
        FaultCase{.name = "NackInsteadOfAck",
                  .setup = {.operation = Operation::Restore, .faults = {.nack_at_ack = 9}},
                  .status = link::LinkIoError,
                  .log_line = "!!!ACK Receive Err\n\n"},
        FaultCase{.name = "NoiseBetweenFrames",
                  .setup = {.faults = {.noise_bytes = 9}},
                  .status = link::LinkOk,
                  .log_line = "!!!Not DataPacket\n",
                  .box = "SUCCESS Backup\nTime:",
                  .organizer_closed = false,
                  .whole_run = true},
        FaultCase{.name = "SilenceMidApplication",
                  .setup = {.faults = {.silence_from_packet = 4}},
                  .status = link::LinkTimeout,
                  .log_line = "!!!Time Out(Wait Data Packet) Break\n\n",
                  .may_wait_ms = kDataTimeoutMs},
        // In a restore the PC waits for the organizer's ACK, a command.
        FaultCase{.name = "SilenceMidRestore",
                  .setup = {.operation = Operation::Restore, .faults = {.silence_from_packet = 4}},
                  .status = link::LinkTimeout,
                  .log_line = "!!!Time Out(Wait Command) Break\n\n",
                  .may_wait_ms = kCommandTimeoutMs},
        // The line is dead, so even the closing frames cannot go out.
        FaultCase{.name = "LineHungUp",
                  .setup = {.faults = {.hang_up_at_packet = 4}},
                  .status = link::LinkIoError,
                  .log_line = ">>>>>>!!!Send FAILED(Receive Incomplete)\n\n",
                  .organizer_closed = false},
        // A slow organizer has not offered the link yet when the user gives up.
        FaultCase{
            .name = "AbortWhileWaiting",
            .setup = {.faults = {.frame_delay_ms = 4 * kPatienceMs}, .abort = Abort::WhileWaiting},
            .status = link::LinkAborted,
            .log_line = "<<<<<<!!!NO Receive(Wait Receive Queue Abort)\n\n",
            .organizer_untouched = true},
        FaultCase{.name = "AbortWhileReceiving",
                  .setup = {.abort = Abort::AfterARecord},
                  .status = link::LinkAborted,
                  .log_line = "!!!Abort(WaitDataPacket)\n\n"},
        // An abort while the PC's bytes are going out fails the write: 11.
        FaultCase{.name = "AbortWhileSending",
                  .setup = {.operation = Operation::Restore,
                            .abort = Abort::WhilePcSends,
                            .abort_byte = 1500},
                  .status = link::LinkIoError,
                  .log_line = ">>>>>>!!!Send FAILED\n\n"},
        // The organizer was released before the write; the user then cancels.
        FaultCase{.name = "DiskFullDuringArchiveWrite",
                  .setup = {.disk_full = true},
                  .status = link::LinkFileReadCancelled,
                  .log_line = "!!!Write File Err\n\n",
                  .box = std::strerror(ENOSPC),
                  .whole_run = true},
        FaultCase{.name = "WrongDeviceCode",
                  .setup = {.device_code_high = 1},
                  .status = link::LinkIoError,
                  .log_line = "!!!Another Device Code(High)\n\n"},
        FaultCase{.name = "RestoreFromTruncatedArchive",
                  .setup = {.operation = Operation::Restore},
                  .before = Before::TruncatedArchive,
                  .status = link::LinkFileIncompatible,
                  .log_line = "is NOT compatible \n\n",
                  .organizer_untouched = true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orgalink::faulttest
