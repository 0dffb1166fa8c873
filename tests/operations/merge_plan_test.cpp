// SPDX-License-Identifier: GPL-3.0-or-later
// Planning a merging or plain restore against what the organizer holds:
// which applications change, what they end up holding, and what a merge
// refuses.

#include "operations/merge_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operations/merge_report.h"
#include "store/appli_kind.h"
#include "store/archive_limits.h"

namespace orgalink::operations {
namespace {

using store::RecordList;
using Record = std::vector<std::uint8_t>;

// A Telephone record: one binary byte, then the name and the number.
Record Tel(const std::string& name, const std::string& number = "1") {
  Record record{0x01};
  record.insert(record.end(), name.begin(), name.end());
  record.push_back(0);
  record.insert(record.end(), number.begin(), number.end());
  return record;
}

Record Memo(const std::string& text) {
  return Record(text.begin(), text.end());
}

ReceivedStreams Organizer(const std::vector<std::pair<std::uint8_t, RecordList>>& held) {
  ReceivedStreams streams;
  for (const auto& [application, records] : held) {
    for (const Record& record : records) {
      streams[application].insert(streams[application].end(), record.begin(), record.end());
      streams[application].push_back(0xFF);
    }
  }
  return streams;
}

store::ArchiveRecords Archive(std::vector<std::pair<std::uint8_t, RecordList>> sections) {
  store::ArchiveRecords archive;
  archive.sections = std::move(sections);
  return archive;
}

const ApplicationPlan* Find(const RestorePlan& plan, std::uint8_t application) {
  for (const ApplicationPlan& one : plan.applications) {
    if (one.application == application) return &one;
  }
  return nullptr;
}

struct MergeCase {
  const char* name;
  RecordList held;
  RecordList archive;
  RecordList result;
  bool rewritten;
  std::size_t edited;
};

class MergeOneApplication : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeOneApplication, KeepsWhatItHeldAndAddsWhatItLacked) {
  const MergeCase& c = GetParam();
  const RestorePlan plan = PlanMerge(Archive({{store::Telephone, c.archive}}),
                                     Organizer({{store::Telephone, c.held}}), store::Telephone);
  ASSERT_EQ(plan.applications.size(), 1u);
  const ApplicationPlan& telephone = plan.applications[0];
  EXPECT_EQ(telephone.result, c.result);
  EXPECT_EQ(telephone.rewritten, c.rewritten);
  EXPECT_EQ(telephone.Changes(), c.rewritten);
  EXPECT_EQ(telephone.added, c.result.size() - c.held.size());
  EXPECT_EQ(telephone.lost, 0u);
  EXPECT_EQ(telephone.edited, c.edited);
  EXPECT_TRUE(plan.Refusal().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeOneApplication,
    testing::Values(MergeCase{"LostRecordComesBack",
                              {Tel("A"), Tel("B"), Tel("C")},
                              {Tel("A"), Tel("D")},
                              {Tel("A"), Tel("B"), Tel("C"), Tel("D")},
                              true,
                              0},
                    MergeCase{"NothingLackingChangesNothing",
                              {Tel("A"), Tel("B")},
                              {Tel("B"), Tel("A")},
                              {Tel("A"), Tel("B")},
                              false,
                              0},
                    MergeCase{"EmptyArchiveChangesNothing", {Tel("A")}, {}, {Tel("A")}, false, 0},
                    MergeCase{"EmptyOrganizerTakesTheArchive", {}, {Tel("A")}, {Tel("A")}, true, 0},
                    // The copies a side has more of are kept: nothing is ever dropped.
                    MergeCase{"DuplicatesUpToTheLargerCount",
                              {Tel("A")},
                              {Tel("A"), Tel("A"), Tel("B")},
                              {Tel("A"), Tel("A"), Tel("B")},
                              true,
                              0},
                    MergeCase{"EditedVersionComesBackBesideTheNewOne",
                              {Tel("Ann", "555-9999"), Tel("Bob")},
                              {Tel("Ann", "555-1234"), Tel("Bob")},
                              {Tel("Ann", "555-9999"), Tel("Bob"), Tel("Ann", "555-1234")},
                              true,
                              1}),
    [](const testing::TestParamInfo<MergeCase>& info) { return info.param.name; });

TEST(PlanMerge, EveryApplicationButTheCategoryTableAndOnlyThoseThatGainAreRewritten) {
  const Record table = Memo("Food");
  const auto organizer = Organizer({{store::Telephone, {Tel("A")}},
                                    {store::Memo, {Memo("m1")}},
                                    {store::ExpenseCategory, {Memo("Travel")}}});
  const auto archive = Archive({{store::Telephone, {Tel("A")}},
                                {store::Memo, {Memo("m2")}},
                                {store::ExpenseCategory, {table}},
                                {store::Expense, {Memo(std::string(40, 'e'))}}});
  const RestorePlan all = PlanMerge(archive, organizer, store::AllApplis);
  EXPECT_EQ(all.applications.size(), 6u);
  EXPECT_EQ(Find(all, store::ExpenseCategory), nullptr);
  EXPECT_FALSE(Find(all, store::Telephone)->rewritten);
  EXPECT_TRUE(Find(all, store::Memo)->rewritten);
  EXPECT_TRUE(Find(all, store::Expense)->rewritten);
  EXPECT_TRUE(all.categoriesDiffer);
  const store::ArchiveRecords expected = all.Expected();
  ASSERT_NE(expected.Find(store::Memo), nullptr);
  EXPECT_EQ(*expected.Find(store::Memo), (RecordList{Memo("m1"), Memo("m2")}));
  EXPECT_EQ(expected.Find(store::ExpenseCategory), nullptr);

  // Named alone, the table is replaced by the archive's, not merged.
  const RestorePlan categories = PlanMerge(archive, organizer, store::ExpenseCategory);
  ASSERT_EQ(categories.applications.size(), 1u);
  EXPECT_TRUE(categories.applications[0].rewritten);
  EXPECT_EQ(categories.applications[0].result, RecordList{table});
  EXPECT_EQ(*categories.Expected().Find(store::ExpenseCategory), RecordList{table});
}

TEST(PlanMerge, ARecordSumBeyondWhatAnApplicationHoldsIsRefusedWithItsSize) {
  const Record big(1000, 'x');
  const RecordList held(200, big);
  RecordList archive(100, Record(1000, 'y'));
  for (std::size_t i = 0; i < archive.size(); ++i) archive[i][0] = static_cast<std::uint8_t>(i + 1);
  const RestorePlan plan =
      PlanMerge(Archive({{store::Memo, archive}}), Organizer({{store::Memo, held}}), store::Memo);
  const std::string refusal = plan.Refusal();
  EXPECT_NE(refusal.find("Memo: 300300 bytes"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find(std::to_string(store::MaxApplicationBytes)), std::string::npos);
}

TEST(PlanReplace, TellsWhatThePlainRestoreDeletesAndWhetherAnythingChanges) {
  const auto organizer = Organizer({{store::Telephone, {Tel("B"), Tel("A")}},
                                    {store::Memo, {Memo("m1")}},
                                    {store::ExpenseCategory, {Memo("Travel")}}});
  const RestorePlan same =
      PlanReplace(Archive({{store::Telephone, {Tel("A"), Tel("B")}}, {store::Memo, {Memo("m1")}}}),
                  organizer, store::AllApplis);
  // The organizer files Telephone in its own order; the table is left alone.
  EXPECT_FALSE(same.Changes());
  EXPECT_EQ(Find(same, store::ExpenseCategory), nullptr);
  EXPECT_EQ(RestorePlanLines(same, false).back(), "Nothing would change.");

  const RestorePlan memoLost =
      PlanReplace(Archive({{store::Telephone, {Tel("A"), Tel("B")}}}), organizer, store::AllApplis);
  ASSERT_TRUE(memoLost.Changes());
  EXPECT_EQ(Find(memoLost, store::Memo)->lost, 1u);
  EXPECT_EQ(RestorePlanLines(memoLost, false)[4],
            "Memo: would delete 1 record and send 0 from the archive: 0 the organizer lacks, 1 of "
            "its own lost");
}

TEST(RestorePlanLines, SayWhatWasKeptAddedAndLooksEdited) {
  const RestorePlan plan = PlanMerge(
      Archive({{store::Telephone, {Tel("Ann", "1"), Tel("D")}}}),
      Organizer({{store::Telephone, {Tel("Ann", "2"), Tel("B"), Tel("C")}}}), store::Telephone);
  EXPECT_EQ(RestorePlanLines(plan, true),
            std::vector<std::string>{
                "Telephone: 3 kept, 2 added; 1 of them looks like an edited version of a record "
                "the organizer holds, which is kept beside it"});
  EXPECT_EQ(
      RestorePlanLines(plan, false)[0].rfind("Telephone: would delete 3 records and send 5: ", 0),
      0u);
}

}  // namespace
}  // namespace orgalink::operations
