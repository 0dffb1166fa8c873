// SPDX-License-Identifier: GPL-3.0-or-later
// At a terminal: the live progress line, and Ctrl-C typed while the program
// waits for the organizer.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/temp_dir.h"
#include "support/terminal_session.h"

namespace orgalink {
namespace {

using testsupport::Bytes;
using testsupport::CommandFrame;

TEST(TerminalInterrupt, CtrlCWhileWaitingReleasesTheOrganizerAndExits130) {
  testsupport::TempDir dir;
  testsupport::Pty line;
  std::ofstream{dir.File("Orgalink.ini")};
  testsupport::TerminalSession session(
      ORGALINK_CLI, {"run-mode", "0", "--port", line.slave_path(), "--echo", "0", "--settings",
                     dir.File("Orgalink.ini")});
  ASSERT_TRUE(session.WaitFor("\r[" + std::string(30, '.') + "]   0%  Waiting for Organizer..."))
      << session.Screen();
  session.Type("\x03");
  EXPECT_EQ(session.Wait(), 130) << session.Screen();
  Bytes closing = CommandFrame(0x15);
  const Bytes end = CommandFrame(0x09);
  closing.insert(closing.end(), end.begin(), end.end());
  EXPECT_EQ(line.Read(10), closing);
  // The bar's line is ended before the message (the terminal echoes the ^C).
  const std::string& screen = session.Screen();
  EXPECT_LT(screen.find("Waiting for Organizer..."), screen.find("\r\nUser aborted.\r\n"))
      << screen;
  EXPECT_NE(screen.find("\r\nUser aborted.\r\n"), std::string::npos) << screen;
}

}  // namespace
}  // namespace orgalink
