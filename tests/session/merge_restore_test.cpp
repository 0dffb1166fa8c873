// SPDX-License-Identifier: GPL-3.0-or-later
// The merging restore and the dry run of one session against the simulated
// organizer: what reaches the organizer's commands and what it holds after.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/command_code.h"
#include "session/session.h"
#include "sim/in_process_organizer.h"
#include "sim/sample_organizer.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "support/nobody_watches.h"

namespace orgalink {
namespace {

constexpr const char* kData = ORGALINK_SOURCE_DIR "/data/";

using Record = std::vector<std::uint8_t>;
using store::RecordList;

using testsupport::NobodyWatches;

Record Tel(const std::string& name) {
  Record record{0x01};
  record.insert(record.end(), name.begin(), name.end());
  record.insert(record.end(), {0, '5', '5', '5'});
  return record;
}

Record Memo(char fill, std::size_t size, int number) {
  Record record(size, static_cast<std::uint8_t>(fill));
  record[0] = static_cast<std::uint8_t>('0' + number / 100);
  record[1] = static_cast<std::uint8_t>('0' + number / 10 % 10);
  record[2] = static_cast<std::uint8_t>('0' + number % 10);
  return record;
}

RecordList Memos(char fill, int count) {
  RecordList memos;
  for (int i = 0; i < count; ++i) memos.push_back(Memo(fill, 1000, i));
  return memos;
}

struct Change {
  std::uint8_t application;
  RecordList organizer;
  RecordList archive;
};

struct MergeCase {
  const char* name;
  const char* application;
  bool dryRun;
  // Only these applications differ between the sample organizer and the
  // archive, which otherwise holds the organizer's own records.
  std::vector<Change> changes;
  link::LinkStatus status;
  // What the changed applications hold afterwards (any order).
  std::vector<RecordList> after;
  int deletions;
  int recordsSent;
};

std::vector<Record> Sorted(RecordList records) {
  std::sort(records.begin(), records.end());
  return records;
}

class MergeSession : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeSession, ChangesOnlyWhatTheOrganizerLacks) {
  const MergeCase& c = GetParam();
  const auto sort = sim::TelephoneSort::FromDirectory(kData);
  sim::OrganizerContents contents = sim::GenerateOrganizer(sim::kSampleSize, sort);
  for (const Change& change : c.changes) {
    contents.Clear(change.application);
    for (const Record& record : change.organizer) contents.Add(change.application, record, sort);
  }
  session::SessionRequest request;
  request.runMode = settings::RunMode::Restore;
  request.application = c.application;
  request.dataDirectory = kData;
  request.planned.emplace();
  request.planned->dryRun = c.dryRun;
  for (const std::uint8_t application : store::FullOrder) {
    request.planned->records.sections.emplace_back(application, contents.Records(application));
  }
  for (const Change& change : c.changes) {
    for (auto& [application, records] : request.planned->records.sections) {
      if (application == change.application) records = change.archive;
    }
  }

  sim::SimOptions options;
  options.table_directory = kData;
  const auto organizer = sim::InProcessOrganizer::WithContents(options, contents, 0);
  ASSERT_NE(organizer, nullptr);
  platform::CancelToken cancel;
  session::Session run(settings::RunSettings{}, std::move(request),
                       session::PortSource{{}, organizer->Opener()},
                       platform::SystemClock::Instance(), cancel);
  NobodyWatches front;
  const session::SessionOutcome outcome = run.Communicate(front.Front());
  organizer->Organizer().WaitUntilIdle();

  EXPECT_EQ(outcome.result.status, c.status) << outcome.result;
  ASSERT_TRUE(outcome.plan.has_value());
  const std::vector<std::uint8_t> commands = organizer->Organizer().Stats().commands;
  EXPECT_EQ(std::count(commands.begin(), commands.end(), link::DELETE_ALL_RECORDS), c.deletions);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), link::SEND_1_RECORD), c.recordsSent);
  const sim::OrganizerContents held = organizer->Organizer().Contents();
  for (std::size_t i = 0; i < c.changes.size(); ++i) {
    EXPECT_EQ(Sorted(held.Records(c.changes[i].application)), Sorted(c.after[i]))
        << store::ApplicationName(c.changes[i].application);
  }
  // Everything else is as it was.
  for (const std::uint8_t application : store::FullOrder) {
    const bool changed = std::any_of(c.changes.begin(), c.changes.end(), [&](const Change& ch) {
      return ch.application == application;
    });
    if (!changed) {
      EXPECT_EQ(held.Records(application), contents.Records(application));
    }
  }
}

const Record A = Tel("Abel"), B = Tel("Baker"), C = Tel("Cole"), D = Tel("Dunn");

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeSession,
    testing::Values(MergeCase{"LostRecordComesBackAndOnlyTelephoneIsEmptied",
                              "ALL",
                              false,
                              {{store::Telephone, {A, B, C}, {A, D}}},
                              link::LinkOk,
                              {{A, B, C, D}},
                              1,
                              4},
                    MergeCase{"AnApplicationAlreadyEqualSendsNothing",
                              "ALL",
                              false,
                              {{store::Telephone, {A, B, C}, {C, A}}},
                              link::LinkOk,
                              {{A, B, C}},
                              0,
                              0},
                    MergeCase{"OneApplicationNamedLeavesTheOthers",
                              "Telephone",
                              false,
                              {{store::Telephone, {A, B}, {D}}, {store::Memo, {}, Memos('m', 2)}},
                              link::LinkOk,
                              {{A, B, D}, {}},
                              1,
                              3},
                    MergeCase{"ADryRunDeletesAndSendsNothing",
                              "ALL",
                              true,
                              {{store::Telephone, {A, B, C}, {A, D}}},
                              link::LinkOk,
                              {{A, B, C}},
                              0,
                              0},
                    // 2 x 128 memos of 1001 bytes are more than one application holds,
                    // though either side alone fits.
                    MergeCase{"ASumTooLargeIsRefusedWithNothingDeleted",
                              "ALL",
                              false,
                              {{store::Telephone, {A}, {D}},
                               {store::Memo, Memos('o', 128), Memos('a', 128)}},
                              link::LinkFileIncompatible,
                              {{A}, Memos('o', 128)},
                              0,
                              0}),
    [](const testing::TestParamInfo<MergeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orgalink
