// SPDX-License-Identifier: GPL-3.0-or-later
// What a search that found no organizer tells beyond its status text.

#include "ui/detect_advice.h"

#include <gtest/gtest.h>

#include "ui/failure_advice.h"
#include "ui/port_refusal.h"

namespace orgalink::ui {
namespace {

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(DetectFailureAdvice, ARefusedPortNamesTheGroupAsABackupDoes) {
  const struct {
    link::Cause cause;
    bool group;
  } rows[] = {
      {link::Cause::System("opening the ports", 0,
                           "COM1: No such file or directory; COM2: Permission denied"),
       true},
      {link::Cause::System("opening the ports", 0, "COM1: Operation not permitted"), true},
      {link::Cause::System("opening the ports", 0, "COM1: No such file or directory"), false},
      {link::Cause::TimedOut("LINK_REQUEST on COM1, COM3", 2000), false},
  };
  for (const auto& row : rows) {
    const std::string advice = DetectFailureAdvice(row.cause, "/home/u/Orgalink.ini");
    SCOPED_TRACE(advice);
    EXPECT_TRUE(advice.starts_with("Cause: " + row.cause.Text() + ".\nTry: "));
    EXPECT_EQ(Holds(advice, kJoinPortGroupHint), row.group);
    EXPECT_TRUE(Holds(advice, "check that [Ports] in /home/u/Orgalink.ini names your serial"));
  }
  // A backup refused the same way gives the same advice.
  const std::string backup =
      FailureAdvice({link::LinkPortErrorCom1,
                     link::Cause::System("opening the port", 0, "/dev/ttyS0: Permission denied")});
  EXPECT_TRUE(Holds(backup, kJoinPortGroupHint)) << backup;
}

TEST(DetectFailureAdvice, AnAbortNeedsNoExplaining) {
  EXPECT_EQ(DetectFailureAdvice(link::Cause::Aborted(), "x.ini"), "");
  EXPECT_TRUE(Holds(DetectFailureAdvice(link::Cause::TimedOut("LINK_REQUEST on COM1", 2000), ""),
                    "[Ports] in the settings file"));
}

}  // namespace
}  // namespace orgalink::ui
