// SPDX-License-Identifier: GPL-3.0-or-later
// A session against the simulated organizer: what its outcome tells the
// front ends after a backup and a verification.

#include "session/session.h"

#include <gtest/gtest.h>

#include "sim/in_process_organizer.h"
#include "sim/sample_organizer.h"
#include "store/appli_kind.h"
#include "store/checked_archive.h"
#include "support/nobody_watches.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

constexpr const char* kData = ORGALINK_SOURCE_DIR "/data/";

using testsupport::NobodyWatches;

session::SessionOutcome RunAgainstSample(session::SessionRequest request) {
  sim::SimOptions options;
  options.table_directory = kData;
  const auto sort = sim::TelephoneSort::FromDirectory(kData);
  const auto organizer = sim::InProcessOrganizer::WithContents(
      options, sim::GenerateOrganizer(sim::kSampleSize, sort), 0);
  EXPECT_NE(organizer, nullptr);
  platform::CancelToken cancel;
  request.dataDirectory = kData;
  session::Session run(settings::RunSettings{}, std::move(request),
                       session::PortSource{{}, organizer->Opener()},
                       platform::SystemClock::Instance(), cancel);
  NobodyWatches front;
  return run.Communicate(front.Front());
}

TEST(Session, ABackupTellsTheArchiveAndItsCountsAndAVerificationWhatMatched) {
  testsupport::TempDir dir;
  session::SessionRequest backup;
  backup.runMode = settings::RunMode::Backup;
  backup.archive = dir.File("a.bkf");
  const session::SessionOutcome written = RunAgainstSample(backup);
  ASSERT_TRUE(written.Ok()) << written.result;
  EXPECT_EQ(written.archive, dir.File("a.bkf"));
  EXPECT_EQ(written.counts[store::Telephone], sim::kSampleSize.telephone);
  EXPECT_EQ(written.counts[store::Memo], sim::kSampleSize.memo);
  EXPECT_EQ(written.counts[store::ExpenseCategory], 1);
  EXPECT_TRUE(written.recoveryCommand.empty());
  EXPECT_FALSE(written.verified.has_value());

  store::CheckedArchive checked;
  ASSERT_EQ(store::ReadArchiveFile(written.archive, checked), store::StoreOk);
  session::SessionRequest verify;
  verify.runMode = settings::RunMode::Backup;
  verify.verifyAgainst.emplace();
  store::ReadArchiveRecords(checked.image, *verify.verifyAgainst);
  const session::SessionOutcome compared = RunAgainstSample(verify);
  ASSERT_TRUE(compared.Ok()) << compared.result;
  ASSERT_TRUE(compared.verified.has_value());
  for (const store::RecordDifference& difference : *compared.verified) {
    EXPECT_FALSE(difference.Differs()) << int(difference.application);
  }
  EXPECT_EQ(compared.counts[store::Schedule], sim::kSampleSize.schedule);
}

TEST(Session, AnOutcomeThatNeverRanIsNoSuccess) {
  EXPECT_FALSE(session::SessionOutcome{}.Ok());
}

}  // namespace
}  // namespace orgalink
