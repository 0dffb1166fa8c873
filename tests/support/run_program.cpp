// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace orgalink::testsupport {

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args)
    : out_path_(dir_.File("out")), err_path_(dir_.File("err")) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Nobody is there to answer: a program that asked would wait forever.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path_.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::string RunningProgram::OutputSoFar() const {
  return ReadFile(out_path_);
}

// Without reaping it, so that Wait still finds its status.
bool RunningProgram::Ended() const {
  if (pid_ <= 0) return true;
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid_;
}

std::string RunningProgram::ErrorSoFar() const {
  return ReadFile(err_path_);
}

bool RunningProgram::WaitForError(const std::string& text, std::chrono::milliseconds limit) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (ErrorSoFar().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > give_up || Ended()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void RunningProgram::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

ProgramResult RunningProgram::Wait() {
  ProgramResult result;
  if (pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  result.out = ReadFile(out_path_);
  result.err = ReadFile(err_path_);
  return result;
}

std::optional<ProgramResult> RunningProgram::WaitAtMost(std::chrono::milliseconds limit) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (!Ended()) {
    if (std::chrono::steady_clock::now() > give_up) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Wait();
}

ProgramResult RunAsPrinted(const std::string& program, const std::string& command) {
  const std::string folder = std::filesystem::path(program).parent_path().string();
  const char* path = std::getenv("PATH");
  setenv("PATH", (folder + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
  return RunProgram("/bin/sh", {"-c", command});
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         int interrupt_after_ms) {
  RunningProgram running(program, args);
  if (interrupt_after_ms >= 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(interrupt_after_ms));
    running.Signal(SIGINT);
  }
  return running.Wait();
}

}  // namespace orgalink::testsupport
