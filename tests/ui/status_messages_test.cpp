// SPDX-License-Identifier: GPL-3.0-or-later
// The user-facing texts of the statuses and what a finished run shows.

#include "ui/status_messages.h"

#include <gtest/gtest.h>

#include "ui/end_notice.h"
#include "ui/status_code.h"

namespace orgalink::ui {
namespace {

TEST(StatusMessages, EveryCodeHasItsTextAndOthersReadError) {
  const struct {
    int code;
    const char* text;
  } rows[] = {
      {0, "User aborted."},
      {1, "Organizer detected on COM1."},
      {2, "Organizer detected on COM2."},
      {3, "Organizer detected on COM3."},
      {4, "Organizer detected on COM4."},
      {5, "Organizer not responding."},
      {6, "Error opening COM1."},
      {7, "Error opening COM2."},
      {8, "Error opening COM3."},
      {9, "Error opening COM4."},
      {10, "Error opening COM port."},
      {11, "I/O Device error."},
      {12, "Auto Detect was unable to detect your Organizer."},
      {13, "Backup file not compatible."},
      {14, "Communications error!\nPlease try again."},
      {15, "Error sending not perfect."},
      {16, "Error."},
      {17, "Error."},
      {18, "Error."},
      {-1, "Error."},
      {-9, "Error."},
  };
  for (const auto& row : rows) {
    EXPECT_STREQ(StatusMessages(StatusFromCode(row.code)), row.text) << row.code;
  }
}

TEST(EndNotice, SuccessAndACancelledFileStepShowNothing) {
  const struct {
    int code;
    const char* text;  // nullptr: no box
    const char* caption;
  } rows[] = {
      {16, nullptr, nullptr},
      {17, nullptr, nullptr},
      {0, "User aborted.", "Abort"},
      {1, "Organizer detected on COM1.", "Error"},
      {5, "Organizer not responding.", "Error"},
      {15, "Error sending not perfect.", "Error"},
      {18, "Error.", "Error"},
      {-1, "Error.", "Error"},
  };
  for (const auto& row : rows) {
    const auto notice = EndNoticeFor(StatusFromCode(row.code));
    ASSERT_EQ(notice.has_value(), row.text != nullptr) << row.code;
    if (!notice) continue;
    EXPECT_EQ(notice->text, row.text) << row.code;
    EXPECT_EQ(notice->caption, row.caption) << row.code;
  }
}

}  // namespace
}  // namespace orgalink::ui
