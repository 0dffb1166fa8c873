// The progress dialog's status text and bar, driven by the worker's messages.

#include "ui/progress_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/link_status.h"
#include "link/messages.h"

namespace orgalink::ui {
namespace {

using link::ApplicationScope;
using link::OperationScope;
using link::TelephoneScope;

struct Message {
  std::uint32_t id;
  std::uint32_t w;
  std::int32_t scope;
};

Message Status(std::uint32_t w, std::int32_t scope) {
  return {link::WM_LINK_STATUS, w, scope};
}
Message Progress(std::uint32_t w, std::int32_t scope) {
  return {link::WM_LINK_PROGRESS, w, scope};
}

struct Row {
  const char* name;
  int runMode;
  std::vector<Message> messages;
  bool lastRefreshes;
  int bar;
  const char* text;
};

TEST(ProgressModel, MessagesMoveTheBarAndTheTextByRunMode) {
  const Row rows[] = {
      {"waiting", 1, {Status(0, 0)}, true, 0, "Waiting for Organizer..."},
      {"backup starts", 1, {Status(0, 0), Status(100, OperationScope)}, true, 0, "Receiving..."},
      {"restore starts", 2, {Status(100, OperationScope)}, true, 0, "Sending..."},
      {"single receive starts", 5, {Status(100, ApplicationScope)}, true, 0, "Receiving..."},
      {"single send starts", 6, {Status(100, ApplicationScope)}, true, 0, "Sending..."},
      {"application status ignored in a backup",
       1,
       {Status(100, OperationScope), Progress(50, OperationScope), Status(40, ApplicationScope)},
       false,
       50,
       "Receiving..."},
      {"an ignored status keeps the final position",
       1,
       {Status(100, OperationScope), Status(40, ApplicationScope), Progress(40, OperationScope)},
       true,
       40,
       "Receiving..."},
      {"operation status ignored in a single receive",
       5,
       {Status(100, OperationScope)},
       false,
       0,
       ""},
      {"other RunModes empty the text", 3, {Status(0, 0), Status(100, 0)}, true, 0, ""},
      {"other RunModes never move the bar",
       4,
       {Status(100, OperationScope), Progress(50, OperationScope), Progress(50, ApplicationScope)},
       false,
       0,
       ""},
      {"operation milestone",
       1,
       {Status(100, OperationScope), Progress(10, OperationScope)},
       true,
       10,
       "Receiving..."},
      {"units digit 9 holds the band",
       1,
       {Progress(59, OperationScope), Progress(95, ApplicationScope)},
       false,
       59,
       ""},
      {"one unit per message while the tens digit leads",
       1,
       {Progress(50, OperationScope), Progress(35, ApplicationScope),
        Progress(35, ApplicationScope), Progress(35, ApplicationScope),
        Progress(35, ApplicationScope)},
       false,
       53,
       ""},
      {"a backup's closing 100 % still advances",
       1,
       {Progress(50, OperationScope), Progress(100, ApplicationScope)},
       true,
       51,
       ""},
      {"a restore's closing 100 % is ignored",
       2,
       {Progress(50, OperationScope), Progress(100, ApplicationScope)},
       false,
       50,
       ""},
      {"a restore advances below 100 %",
       2,
       {Progress(50, OperationScope), Progress(35, ApplicationScope)},
       true,
       51,
       ""},
      {"many records count as ahead",
       1,
       {Progress(63, OperationScope), Progress(150, ApplicationScope)},
       true,
       64,
       ""},
      {"telephone spreads over 10..46",
       1,
       {Progress(10, OperationScope), Progress(99, TelephoneScope)},
       true,
       46,
       ""},
      {"telephone 100 % is ignored",
       1,
       {Progress(10, OperationScope), Progress(100, TelephoneScope)},
       false,
       10,
       ""},
      {"telephone never moves back",
       1,
       {Progress(40, OperationScope), Progress(30, TelephoneScope)},
       false,
       40,
       ""},
      {"telephone in a restore",
       2,
       {Progress(10, OperationScope), Progress(50, TelephoneScope)},
       true,
       30,
       ""},
      {"unknown scopes are ignored",
       1,
       {Progress(20, OperationScope), Progress(50, 0), Progress(50, 5)},
       false,
       20,
       ""},
      {"reaching the final position finishes",
       1,
       {Status(100, OperationScope), Progress(100, OperationScope)},
       true,
       100,
       "Finished."},
      {"a full bar beyond the final position is not the end",
       5,
       {Status(100, ApplicationScope), Progress(105, ApplicationScope)},
       true,
       100,
       "Receiving..."},
      {"the closing message after an overshoot finishes",
       5,
       {Status(100, ApplicationScope), Progress(105, ApplicationScope),
        Progress(100, ApplicationScope)},
       true,
       100,
       "Finished."},
      {"no end before a final position is known", 6, {Progress(0, ApplicationScope)}, true, 0, ""},
      {"the bar stays within its range", 1, {Progress(0xFFFFFFFF, OperationScope)}, true, 100, ""},
  };
  for (const Row& row : rows) {
    ProgressModel model(row.runMode);
    bool refreshes = false;
    for (const Message& m : row.messages) refreshes = model.Handle(m.id, m.w, m.scope);
    EXPECT_EQ(refreshes, row.lastRefreshes) << row.name;
    EXPECT_EQ(model.BarPosition(), row.bar) << row.name;
    EXPECT_EQ(model.StatusText(), row.text) << row.name;
    EXPECT_FALSE(model.Ended().has_value()) << row.name;
  }
}

TEST(ProgressModel, EndMessagesCarryTheStatus) {
  const struct {
    std::uint32_t id;
    std::uint32_t w;
    int status;
  } rows[] = {
      {link::WM_LINK_DONE, 16, 16},
      {link::WM_LINK_FAILED, 0, 0},
      {link::WM_LINK_FAILED, 17, 17},
      {link::WM_LINK_FAILED, 0xFFFFFFFF, -1},
  };
  for (const auto& row : rows) {
    ProgressModel model(1);
    model.Handle(link::WM_LINK_STATUS, 100, OperationScope);
    EXPECT_TRUE(model.Handle(row.id, row.w, 0));
    ASSERT_TRUE(model.Ended().has_value());
    EXPECT_EQ(link::ToInt(*model.Ended()), row.status);
    EXPECT_EQ(model.StatusText(), "Receiving...") << "the end leaves the last text standing";
  }
  ProgressModel model(1);
  EXPECT_FALSE(model.Handle(link::WM_DETECT_CHECKING, 1, 0));
  EXPECT_FALSE(model.Ended().has_value());
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
