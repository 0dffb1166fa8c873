// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/terminal_session.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

extern char** environ;

namespace orgalink::testsupport {

TerminalSession::TerminalSession(const std::string& program, const std::vector<std::string>& args)
    : slave_(open(terminal_.slave_path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // A session leader opening a terminal makes it its controlling terminal.
  posix_spawn_file_actions_addopen(&actions, 0, terminal_.slave_path().c_str(), O_RDWR, 0);
  posix_spawn_file_actions_adddup2(&actions, 0, 1);
  posix_spawn_file_actions_adddup2(&actions, 0, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int failed =
      posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + program);
}

TerminalSession::~TerminalSession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (slave_ >= 0) close(slave_);
}

void TerminalSession::Collect(int timeout_ms) {
  const auto bytes = terminal_.Read(4096, timeout_ms);
  screen_.append(bytes.begin(), bytes.end());
}

bool TerminalSession::WaitFor(const std::string& text, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (screen_.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Collect(20);
  }
  return true;
}

void TerminalSession::Type(const std::string& keys) {
  terminal_.Write(std::vector<std::uint8_t>(keys.begin(), keys.end()));
}

int TerminalSession::Wait() {
  int status = 0;
  // The terminal must be read while the program runs: a full buffer would
  // block its writes.
  while (waitpid(pid_, &status, WNOHANG) == 0) Collect(20);
  pid_ = -1;
  Collect(0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace orgalink::testsupport
