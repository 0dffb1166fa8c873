// SPDX-License-Identifier: GPL-3.0-or-later
// The status line every front end shows: the application and, where the line
// is redrawn in place, the records moved so far.

#include "ui/progress_status_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace orgalink::ui {
namespace {

using link::ProgressEvent;
using link::ProgressKind;
using enum link::ProgressScope;

TEST(StatusLine, CountsTheRecordsOfTheCurrentApplicationOnly) {
  const ProgressEvent status{ProgressKind::Status, 100, Operation};
  const ProgressEvent transfer{ProgressKind::Status, 100, Application};
  const struct {
    const char* name;
    int runMode;
    std::vector<ProgressEvent> events;
    const char* counted;    // with the records
    const char* uncounted;  // as a line printed per change shows it
  } rows[] = {
      {"backup, in Telephone",
       1,
       {status,
        {ProgressKind::Progress, 10, Operation},
        transfer,
        {ProgressKind::Records, 1, Telephone},
        {ProgressKind::Progress, 0, Telephone},
        {ProgressKind::Records, 2, Telephone}},
       "Receiving... Telephone (2 records)",
       "Receiving... Telephone"},
      {"backup, the next milestone starts a new count",
       1,
       {status,
        {ProgressKind::Progress, 10, Operation},
        transfer,
        {ProgressKind::Records, 7, Telephone},
        {ProgressKind::Progress, 50, Operation}},
       "Receiving... Schedule",
       "Receiving... Schedule"},
      {"backup, the next transfer starts a new count",
       1,
       {status,
        {ProgressKind::Progress, 50, Operation},
        transfer,
        {ProgressKind::Records, 3, Application},
        transfer},
       "Receiving... Schedule",
       "Receiving... Schedule"},
      {"restore of one application",
       2,
       {transfer, {ProgressKind::Records, 1, Application}},
       "Sending... (1 record)",
       "Sending..."},
      {"finished",
       6,
       {transfer,
        {ProgressKind::Records, 4, Application},
        {ProgressKind::Progress, 100, Application},
        {ProgressKind::Records, 4, Application}},
       "Finished.",
       "Finished."},
      {"a count while waiting is not shown",
       1,
       {{ProgressKind::Status, 0, Negotiation}, {ProgressKind::Records, 4, Operation}},
       "Waiting for Organizer...",
       "Waiting for Organizer..."},
  };
  for (const auto& row : rows) {
    ProgressModel model(row.runMode);
    for (const ProgressEvent& event : row.events) model.Handle(event);
    EXPECT_EQ(StatusLineOf(model, row.runMode, true), row.counted) << row.name;
    EXPECT_EQ(StatusLineOf(model, row.runMode, false), row.uncounted) << row.name;
  }
}

}  // namespace
}  // namespace orgalink::ui
