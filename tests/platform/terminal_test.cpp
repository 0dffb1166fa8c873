// SPDX-License-Identifier: GPL-3.0-or-later
// Terminal checks and the line read that an abort request cuts short.

#include "platform/terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/pty.h"

namespace orgalink::platform {
namespace {

struct Pipe {
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe() {
    Close(0);
    Close(1);
  }
  void Put(const std::string& text) {
    EXPECT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void Close(int end) {
    if (fds[end] >= 0) close(fds[end]);
    fds[end] = -1;
  }
  int fds[2] = {-1, -1};
};

TEST(Terminal, APseudoTerminalIsOneAndAPipeIsNot) {
  testsupport::Pty pty;
  const int slave = open(pty.slave_path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  EXPECT_TRUE(IsTerminal(slave));
  close(slave);
  Pipe p;
  EXPECT_FALSE(IsTerminal(p.fds[0]));
  EXPECT_EQ(TerminalColumns(p.fds[0]), 0);
}

TEST(Terminal, ReadsOneLineAtATime) {
  Pipe input;
  input.Put("yes\nno");
  EXPECT_EQ(ReadLineUnlessWoken(input.fds[0], -1), "yes");
  input.Close(1);
  EXPECT_EQ(ReadLineUnlessWoken(input.fds[0], -1), "no");
  EXPECT_EQ(ReadLineUnlessWoken(input.fds[0], -1), std::nullopt);
}

// Nothing typed yet, and a wake-up pending: the read gives up at once.
TEST(Terminal, AWakeUpEndsTheWaitForAnAnswer) {
  Pipe input, wake;
  wake.Put("x");
  EXPECT_EQ(ReadLineUnlessWoken(input.fds[0], wake.fds[0]), std::nullopt);
}

}  // namespace
}  // namespace orgalink::platform
