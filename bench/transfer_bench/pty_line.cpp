// SPDX-License-Identifier: GPL-3.0-or-later
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "bench_line.h"
#include "platform/clock.h"
#include "platform/posix_serial_port.h"
#include "platform/unique_fd.h"

extern char** environ;

namespace orgalink::bench {

namespace {

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The first line the child writes: the device path.
std::string ReadLine(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

class PtyBenchLine final : public BenchLine {
 public:
  PtyBenchLine(pid_t child, std::string device) : child_(child), device_(std::move(device)) {}

  ~PtyBenchLine() override { Finish(); }

  // SIGTERM lets the service save its state and hang up the line. The time
  // is the child's own, not that of every child this process ever waited for
  // (which would count the build run before the benchmark).
  std::optional<double> Finish() override {
    if (child_ <= 0) return std::nullopt;
    kill(child_, SIGTERM);
    int status = 0;
    rusage usage{};
    const pid_t ended = wait4(child_, &status, 0, &usage);
    child_ = 0;
    if (ended <= 0) return std::nullopt;
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  }

  std::string Name() const override { return "pty"; }
  int Baud() const override { return 0; }

  platform::PortOpener Opener() override {
    return [device = device_](int, int baud, std::string& error) {
      return platform::OpenPosixSerialPort(device, baud, platform::SystemClock::Instance(), error);
    };
  }

  std::optional<bool> Holds(const sim::OrganizerContents&) override { return std::nullopt; }

 private:
  pid_t child_;
  std::string device_;
};

}  // namespace

std::unique_ptr<BenchLine> MakePtyLine(const std::string& program, const std::string& state_file,
                                       bool echo, std::string& error) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  platform::UniqueFd reader(pipe_fds[0]);
  platform::UniqueFd writer(pipe_fds[1]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, writer.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, reader.Get());
  const char* argv[] = {program.c_str(),    "simulate", "--pty",          "--state",
                        state_file.c_str(), "--echo",   echo ? "1" : "0", nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr,
                                  const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  writer.Reset();
  if (spawned != 0) {
    error = std::strerror(spawned);
    return nullptr;
  }
  const std::string device = ReadLine(reader.Get());
  auto line = std::make_unique<PtyBenchLine>(child, device);
  if (device.empty()) {
    error = program + " simulate --pty did not start";
    return nullptr;
  }
  return line;
}

}  // namespace orgalink::bench
