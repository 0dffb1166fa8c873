// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer's command loops as a PC meets them within one communication,
// and the faults that count what it takes.

#include <gtest/gtest.h>

#include <algorithm>

#include "link/command_code.h"
#include "link/negotiation.h"
#include "sim_run.h"
#include "store/appli_kind.h"
#include "transfer/get_all_records.h"
#include "transfer/send_all_records.h"

namespace orgalink::simtest {
namespace {

constexpr int kCapacity = 256000;

link::StepResult Fetch(SimRun& run, std::uint8_t appli, std::vector<std::uint8_t>& buffer) {
  int total = 0;
  return transfer::GetAllRecords(run.f.engine, &run.f.owner, std::span(buffer).first(kCapacity),
                                 total, appli, transfer::PcFull, run.check);
}

// A backup may precede a restore in one communication (the safety copy does
// so); once records have come in, the organizer only takes records.
TEST(SimLoops, RecordsAreServedBeforeRecordsArriveAndRefusedAfter) {
  SimRun run(sim::SimFaults{});
  std::vector<std::uint8_t> buffer(kCapacity);
  link::StepResult before = link::LinkIoError;
  link::StepResult after = link::LinkOk;
  const std::vector<std::uint8_t> memo = {'n', 'e', 'w', 0xFF};
  run.RunPc([&] {
    link::LinkEngine& engine = run.f.engine;
    link::StepResult status = link::Negotiation(engine, &run.f.owner, 30000, -1);
    if (status == link::LinkOk) before = Fetch(run, store::Memo, buffer);
    if (before == link::LinkOk) {
      status =
          transfer::SendAllRecords(engine, &run.f.owner, memo, store::Memo, 1, transfer::PcFull);
    }
    if (status == link::LinkOk) after = Fetch(run, store::Memo, buffer);
    engine.SendCommand(link::NACK);
    return engine.SendCommand(link::END_COMMUNICATION);
  });
  EXPECT_EQ(before.status, link::LinkOk);
  EXPECT_NE(after.status, link::LinkOk);
  run.organizer->WaitUntilIdle();
  const std::vector<std::uint8_t> heard = run.organizer->Stats().commands;
  EXPECT_EQ(std::count(heard.begin(), heard.end(), link::GET_ALL_RECORDS), 2);
}

// The lost record is counted within each communication, so a second
// restore loses the same record as the first.
TEST(SimLoops, ADroppedRecordIsAcknowledgedButNotKeptInEachCommunication) {
  sim::SimOptions options;
  options.relink = true;
  options.faults.drop_record = 2;
  SimRun run(options);
  Applis applis;
  applis[store::Memo] = {{'a'}, {'b'}, {'c'}};
  const auto restore = [&] { return PcRestore(run.f.engine, &run.f.owner, applis); };
  const link::StepResult status = run.RunPc([&] {
    const link::StepResult first = restore();
    return first == link::LinkOk ? restore() : first;
  });
  ASSERT_EQ(status.status, link::LinkOk);
  run.organizer->WaitUntilIdle();
  EXPECT_EQ(run.organizer->Stats().sessions, 2);
  EXPECT_EQ(run.organizer->Contents().Records(store::Memo),
            (std::vector<sim::Record>{{'a'}, {'c'}}));
}

}  // namespace
}  // namespace orgalink::simtest
