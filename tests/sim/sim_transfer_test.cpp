// SPDX-License-Identifier: GPL-3.0-or-later
// Backups and restores of the product's PC side against the organizer.

#include <gtest/gtest.h>

#include <algorithm>

#include "operations/backup.h"
#include "operations/restore.h"
#include "sim/state_file.h"
#include "sim_run.h"
#include "store/appli_kind.h"

namespace orgalink::simtest {
namespace {

// The strictest case: the base model, whose Telephone records the PC checks
// for order, on a line paced at 19200 bit/s that echoes every PC byte.
TEST(SimTransfer, ABackupFetchesEveryApplicationOfTheSample) {
  sim::SimOptions options;
  options.variant = sim::SimVariant::E;
  SimRun run(options, {.pacing_baud = 19200});
  Applis fetched;
  EXPECT_EQ(run.Backup(fetched), link::LinkOk);
  EXPECT_EQ(fetched, ApplisOf(Sample()));
  const auto longest = std::max_element(
      fetched[store::Memo].begin(), fetched[store::Memo].end(),
      [](const sim::Record& a, const sim::Record& b) { return a.size() < b.size(); });
  ASSERT_NE(longest, fetched[store::Memo].end());
  EXPECT_EQ(longest->size(), 1023u) << "multi-packet memos came whole";
}

// What the PC restores replaces the organizer's contents: the applications
// are emptied first (Memo stays empty), Telephone records find their place
// in the organizer's order, and the next backup, in a second session, and
// the state file both show the result.
TEST(SimTransfer, ARestoreShowsUpInTheNextBackupAndInTheStateFile) {
  sim::SimOptions options;
  options.echo = false;
  options.relink = true;
  SimRun run(options);
  const Applis sample = ApplisOf(Sample());
  Applis restored = sample;
  std::reverse(restored[store::Telephone].begin(), restored[store::Telephone].end());
  restored[store::Telephone].push_back({1, 'A', 'a', 'r', 'o', 'n', 0, '1'});
  restored[store::Memo].clear();
  restored[store::Schedule].resize(2);
  restored[store::ExpenseCategory] = {{'H', 'o', 'm', 'e', 0, 'W', 'o', 'r', 'k'}};
  Applis fetched;
  const link::StepResult status = run.RunPc([&] {
    const link::StepResult sent = PcRestore(run.f.engine, &run.f.owner, restored);
    return sent == link::LinkOk ? PcBackup(run.f.engine, &run.f.owner, run.check, fetched) : sent;
  });
  ASSERT_EQ(status, link::LinkOk);

  Applis expected = restored;
  expected[store::Telephone] = sample[store::Telephone];
  expected[store::Telephone].insert(expected[store::Telephone].begin(),
                                    restored[store::Telephone].back());
  EXPECT_EQ(fetched, expected);
  run.organizer->Stop();
  sim::OrganizerContents saved;
  std::string error;
  ASSERT_TRUE(sim::LoadOrganizerFile(
      run.state_file, sim::TelephoneSort::FromDirectory(DataDirectory()), saved, error))
      << error;
  EXPECT_EQ(ApplisOf(saved), expected);
}

// The product's own operations: a backup's archive holds what the organizer
// holds, and restoring it into an emptied organizer brings all of it back.
TEST(SimTransfer, TheProductsBackupArchiveRestoresIntoAnEmptyOrganizer) {
  SimRun source(sim::SimOptions{});
  const std::string archive = source.f.dir.File("backup.bkf");
  const auto run_operation = [&archive](SimRun& sim, auto operation) {
    store::AppliStore store(DataDirectory());
    operations::RunContext run(sim.f.engine);
    run.store = &store;
    run.fileName = archive;
    run.appliKind = store::AllApplis;
    run.telephone = sim.check;
    return sim.RunPc([&] { return operation(run, sim.f.owner.Front(), transfer::PcFull); });
  };
  ASSERT_EQ(run_operation(source, operations::RunBackup), link::LinkOk);
  const sim::TelephoneSort sort = sim::TelephoneSort::FromDirectory(DataDirectory());
  sim::OrganizerContents archived;
  std::string error;
  ASSERT_TRUE(sim::LoadOrganizerFile(archive, sort, archived, error)) << error;
  EXPECT_EQ(archived, Sample());

  sim::SimOptions emptied = TestOptions(source.f.dir.File("emptied.bkf"));
  ASSERT_TRUE(sim::SaveOrganizerFile(emptied.state_file, sim::OrganizerContents(), error));
  SimRun target(emptied);
  ASSERT_EQ(run_operation(target, operations::RunRestore), link::LinkOk);
  target.organizer->WaitUntilIdle();
  EXPECT_EQ(target.organizer->Contents(), Sample());
}

}  // namespace
}  // namespace orgalink::simtest
