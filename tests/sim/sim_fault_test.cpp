// SPDX-License-Identifier: GPL-3.0-or-later
// Each fault of the organizer as the product's PC side meets it.

#include <gtest/gtest.h>

#include "link/command_code.h"
#include "sim_run.h"
#include "support/transfer_peer.h"

namespace orgalink::simtest {
namespace {

using testsupport::InLog;

enum class Operation { Backup, Restore };

struct FaultCase {
  const char* name;
  sim::SimFaults faults;
  Operation operation;
  link::LinkStatus status;
  const char* log_line;  // in the PC's log (on a cut line, the closing NACK cannot go out)
  bool closing_seen;     // the organizer took the PC's NACK and END_COMMUNICATION
};

TEST(SimFaults, EachFaultHasItsEffectOnThePc) {
  const FaultCase cases[] = {
      {"bad checksum of a packet sent",
       {.bad_checksum_at_packet = 3},
       Operation::Backup,
       link::LinkIoError,
       "!!!CheckSum Err\n\n",
       true},
      {"bad checksum of a packet taken",
       {.bad_checksum_at_packet = 3},
       Operation::Restore,
       link::LinkIoError,
       "!!!---PC receives NACK\n\n",
       true},
      {"NACK instead of ACK",
       {.nack_at_ack = 9},
       Operation::Restore,
       link::LinkIoError,
       "!!!ACK Receive Err\n\n",
       true},
      {"noise between frames",
       {.noise_bytes = 9},
       Operation::Backup,
       link::LinkOk,
       "!!!Not DataPacket\n",
       false},
      {"silence from a packet on",
       {.silence_from_packet = 4},
       Operation::Backup,
       link::LinkTimeout,
       "!!!Time Out(Wait Data Packet) Break\n\n",
       true},
      {"hang-up of the line",
       {.hang_up_at_packet = 4},
       Operation::Restore,
       link::LinkIoError,
       ">>>>>>!!!Send FAILED(Receive Incomplete)\n\n",
       false},
  };
  const Applis sample = ApplisOf(Sample());
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimRun run(c.faults);
    run.f.UseLog();
    Applis fetched;
    const link::StepResult status =
        c.operation == Operation::Backup ? run.Backup(fetched) : run.Restore(sample);
    EXPECT_EQ(status, c.status);
    EXPECT_NE(run.f.LogText().find(InLog(c.log_line)), std::string::npos);
    if (status == link::LinkOk) {
      EXPECT_EQ(fetched, sample);
    }
    run.organizer->WaitUntilIdle();
    const std::vector<std::uint8_t> commands = run.organizer->Stats().commands;
    const bool closed = commands.size() >= 2 && commands[commands.size() - 2] == link::NACK &&
                        commands.back() == link::END_COMMUNICATION;
    EXPECT_EQ(closed, c.closing_seen);
  }
}

// Slower than its own offer period too: the PC still gets a whole period to
// answer each LINK_REQUEST. (Variant E, which leaves the PC's one-second
// probe for device information unanswered whatever its pace.)
TEST(SimFaults, ASlowOrganizerDelaysEveryFrame) {
  constexpr std::uint32_t kDelayMs = 1500;
  sim::SimOptions options;
  options.variant = sim::SimVariant::E;
  SimRun quick(options);
  options.faults.frame_delay_ms = kDelayMs;
  SimRun slow(options);
  Applis fetched;
  std::uint32_t quick_ms = 0;
  std::uint32_t slow_ms = 0;
  ASSERT_EQ(quick.Backup(fetched, &quick_ms), link::LinkOk);
  ASSERT_EQ(slow.Backup(fetched, &slow_ms), link::LinkOk);
  EXPECT_EQ(fetched, ApplisOf(Sample()));
  // At least one frame per record.
  std::size_t records = 0;
  for (const auto& appli : fetched) records += appli.size();
  EXPECT_GE(slow_ms - quick_ms, kDelayMs * records);
}

}  // namespace
}  // namespace orgalink::simtest
