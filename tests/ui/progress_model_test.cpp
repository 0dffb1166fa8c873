// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog's status text and bar, driven by the worker's events.

#include "ui/progress_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "link/link_status.h"
#include "link/progress_sink.h"

namespace orgalink::ui {
namespace {

using link::ProgressEvent;
using link::ProgressKind;
using link::ProgressScope;

using enum link::ProgressScope;

ProgressEvent Status(int w, ProgressScope scope) {
  return {ProgressKind::Status, w, scope};
}
ProgressEvent Progress(int w, ProgressScope scope) {
  return {ProgressKind::Progress, w, scope};
}

struct Row {
  const char* name;
  int runMode;
  std::vector<ProgressEvent> events;
  bool lastRefreshes;
  int bar;
  const char* text;
};

TEST(ProgressModel, EventsMoveTheBarAndTheTextByRunMode) {
  const Row rows[] = {
      {"waiting", 1, {Status(0, Negotiation)}, true, 0, "Waiting for Organizer..."},
      {"backup starts",
       1,
       {Status(0, Negotiation), Status(100, Operation)},
       true,
       0,
       "Receiving..."},
      {"restore starts", 2, {Status(100, Operation)}, true, 0, "Sending..."},
      {"single receive starts", 5, {Status(100, Application)}, true, 0, "Receiving..."},
      {"single send starts", 6, {Status(100, Application)}, true, 0, "Sending..."},
      {"application status ignored in a backup",
       1,
       {Status(100, Operation), Progress(50, Operation), Status(40, Application)},
       false,
       50,
       "Receiving..."},
      {"an ignored status keeps the final position",
       1,
       {Status(100, Operation), Status(40, Application), Progress(40, Operation)},
       true,
       40,
       "Receiving..."},
      {"operation status ignored in a single receive", 5, {Status(100, Operation)}, false, 0, ""},
      {"other RunModes empty the text",
       3,
       {Status(0, Negotiation), Status(100, Negotiation)},
       true,
       0,
       ""},
      {"other RunModes never move the bar",
       4,
       {Status(100, Operation), Progress(50, Operation), Progress(50, Application)},
       false,
       0,
       ""},
      {"operation milestone",
       1,
       {Status(100, Operation), Progress(10, Operation)},
       true,
       10,
       "Receiving..."},
      {"units digit 9 holds the band",
       1,
       {Progress(59, Operation), Progress(95, Application)},
       false,
       59,
       ""},
      {"one unit per event while the tens digit leads",
       1,
       {Progress(50, Operation), Progress(35, Application), Progress(35, Application),
        Progress(35, Application), Progress(35, Application)},
       false,
       53,
       ""},
      {"a backup's closing 100 % still advances",
       1,
       {Progress(50, Operation), Progress(100, Application)},
       true,
       51,
       ""},
      {"a restore's closing 100 % is ignored",
       2,
       {Progress(50, Operation), Progress(100, Application)},
       false,
       50,
       ""},
      {"a restore advances below 100 %",
       2,
       {Progress(50, Operation), Progress(35, Application)},
       true,
       51,
       ""},
      {"many records count as ahead",
       1,
       {Progress(63, Operation), Progress(150, Application)},
       true,
       64,
       ""},
      {"telephone spreads over 10..46",
       1,
       {Progress(10, Operation), Progress(99, Telephone)},
       true,
       46,
       ""},
      {"telephone 100 % is ignored",
       1,
       {Progress(10, Operation), Progress(100, Telephone)},
       false,
       10,
       ""},
      {"telephone never moves back",
       1,
       {Progress(40, Operation), Progress(30, Telephone)},
       false,
       40,
       ""},
      {"telephone in a restore",
       2,
       {Progress(10, Operation), Progress(50, Telephone)},
       true,
       30,
       ""},
      {"the negotiation's scope moves no bar",
       1,
       {Progress(20, Operation), Progress(50, Negotiation)},
       false,
       20,
       ""},
      {"reaching the final position finishes",
       1,
       {Status(100, Operation), Progress(100, Operation)},
       true,
       100,
       "Finished."},
      {"a full bar beyond the final position is not the end",
       5,
       {Status(100, Application), Progress(105, Application)},
       true,
       100,
       "Receiving..."},
      {"the closing event after an overshoot finishes",
       5,
       {Status(100, Application), Progress(105, Application), Progress(100, Application)},
       true,
       100,
       "Finished."},
      {"a restore's safety backup receives first",
       2,
       {Status(100, Safety), Progress(10, Safety), Progress(50, Telephone)},
       true,
       30,
       "Receiving..."},
      {"the safety backup's end is not the restore's",
       2,
       {Status(100, Safety), Progress(100, Safety)},
       true,
       100,
       "Receiving..."},
      {"then the restore sends",
       2,
       {Status(100, Safety), Progress(100, Safety), Status(100, Operation), Progress(4, Operation)},
       true,
       4,
       "Sending..."},
      {"no safety backup in a backup",
       1,
       {Status(100, Safety), Progress(10, Safety)},
       false,
       0,
       ""},
      {"no end before a final position is known", 6, {Progress(0, Application)}, true, 0, ""},
      {"the bar stays within its range",
       1,
       {Progress(std::numeric_limits<int>::max(), Operation)},
       true,
       100,
       ""},
  };
  for (const Row& row : rows) {
    ProgressModel model(row.runMode);
    bool refreshes = false;
    for (const ProgressEvent& e : row.events) refreshes = model.Handle(e);
    EXPECT_EQ(refreshes, row.lastRefreshes) << row.name;
    EXPECT_EQ(model.BarPosition(), row.bar) << row.name;
    EXPECT_EQ(model.StatusText(), row.text) << row.name;
    EXPECT_FALSE(model.Ended().has_value()) << row.name;
  }
}

// A backup or restore of one application (--app) reports no milestones:
// only the negotiation's wait and the one transfer, which the bar follows to
// "Finished.". Each row is what such a run reports, in order.
TEST(ProgressModel, OneApplicationIsFollowedFromWaitingToFinished) {
  const struct {
    const char* name;
    int runMode;
    std::vector<ProgressEvent> events;
    std::vector<std::pair<int, std::string>> shown;  // bar and text after each event
  } rows[] = {
      {"backup of Memo",
       1,
       {Status(0, Negotiation), Status(100, Application), Progress(0, Application),
        Progress(1, Application), Progress(100, Application)},
       {{0, "Waiting for Organizer..."},
        {0, "Receiving..."},
        {0, "Receiving..."},
        {1, "Receiving..."},
        {100, "Finished."}}},
      {"backup of Telephone",
       1,
       {Status(0, Negotiation), Status(100, Application), Progress(50, Telephone),
        Progress(100, Application)},
       {{0, "Waiting for Organizer..."},
        {0, "Receiving..."},
        {50, "Receiving..."},
        {100, "Finished."}}},
      {"restore of Memo without a safety copy",
       2,
       {Status(0, Negotiation), Status(100, Application), Progress(33, Application),
        Progress(100, Application)},
       {{0, "Waiting for Organizer..."},
        {0, "Sending..."},
        {33, "Sending..."},
        {100, "Finished."}}},
      // The safety copy of the one application comes between its own
      // milestones; the restore's sending follows.
      {"restore of Memo after its safety copy",
       2,
       {Status(0, Negotiation), Status(100, Safety), Status(100, Application),
        Progress(0, Application), Progress(100, Application), Progress(100, Safety),
        Status(100, Application), Progress(50, Application), Progress(100, Application)},
       {{0, "Waiting for Organizer..."},
        {0, "Receiving..."},
        {0, "Receiving..."},
        {0, "Receiving..."},
        {0, "Receiving..."},
        {100, "Receiving..."},
        {100, "Sending..."},
        {50, "Sending..."},
        {100, "Finished."}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ProgressModel model(row.runMode);
    ASSERT_EQ(row.events.size(), row.shown.size());
    for (std::size_t i = 0; i < row.events.size(); ++i) {
      model.Handle(row.events[i]);
      EXPECT_EQ(model.BarPosition(), row.shown[i].first) << "after event " << i;
      EXPECT_EQ(model.StatusText(), row.shown[i].second) << "after event " << i;
    }
    EXPECT_TRUE(model.FollowsOneApplication());
  }
}

TEST(ProgressModel, EndEventsCarryTheStatus) {
  const ProgressEvent rows[] = {
      {ProgressKind::Done, 16},
      {ProgressKind::Failed, 0},
      {ProgressKind::Failed, 17},
      {ProgressKind::Failed, -1},
  };
  for (const ProgressEvent& row : rows) {
    ProgressModel model(1);
    model.Handle(Status(100, Operation));
    EXPECT_TRUE(model.Handle(row));
    ASSERT_TRUE(model.Ended().has_value());
    EXPECT_EQ(link::ToInt(*model.Ended()), row.value);
    EXPECT_EQ(model.StatusText(), "Receiving...") << "the end leaves the last text standing";
  }
  ProgressModel model(1);
  EXPECT_FALSE(model.Handle({ProgressKind::DetectChecking, 2}));
  EXPECT_FALSE(model.Handle({ProgressKind::Variant, 1}));
  EXPECT_FALSE(model.Ended().has_value());
  EXPECT_EQ(model.StatusText(), "");
}

TEST(ProgressModel, TitleNamesTheOperation) {
  const std::string base = "PC Interface Software for Brelan Pellico";
  EXPECT_EQ(ProgressTitle(1), base + " (Backup)");
  EXPECT_EQ(ProgressTitle(5), base + " (Backup)");
  EXPECT_EQ(ProgressTitle(2), base + " (Restore)");
  EXPECT_EQ(ProgressTitle(6), base + " (Restore)");
  EXPECT_EQ(ProgressTitle(0), base);
  EXPECT_EQ(ProgressTitle(18), base);
}

}  // namespace
}  // namespace orgalink::ui
