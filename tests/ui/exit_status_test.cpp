// SPDX-License-Identifier: GPL-3.0-or-later
// The exit status of a console run.

#include "ui/exit_status.h"

#include <gtest/gtest.h>

namespace orgalink::ui {
namespace {

using platform::InterruptKind;

TEST(ExitStatus, AnAbortTellsWhoAskedForIt) {
  struct Case {
    link::LinkStatus status;
    std::optional<InterruptKind> requested;
    int exit_status;
  } cases[] = {
      {link::LinkOk, std::nullopt, 0},
      {link::LinkAborted, InterruptKind::Interrupt, 130},
      {link::LinkAborted, InterruptKind::Terminate, 143},
      // A refused command code also ends with status 0; it must not pass
      // for the user's Ctrl-C.
      {link::LinkAborted, std::nullopt, 70},
      {link::LinkTimeout, std::nullopt, 5},
      {link::LinkIoError, InterruptKind::Terminate, 11},  // the write the signal cut short
      {link::LinkPortErrorCom2, std::nullopt, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExitStatusFor(c.status, c.requested), c.exit_status) << c.status;
  }
}

}  // namespace
}  // namespace orgalink::ui
