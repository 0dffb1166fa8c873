#include <signal.h>
#include <spawn.h>
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

  // SIGTERM lets the service save its state and hang up the line.
  ~PtyBenchLine() override {
    kill(child_, SIGTERM);
    int status = 0;
    waitpid(child_, &status, 0);
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
