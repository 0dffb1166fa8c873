// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the processor time of an idle `orgalink watch`: the program waits
// on a quiet pseudo-terminal for the organizer's LINK_REQUEST, and the CPU it
// uses meanwhile, as a share of one core, should stay near nothing (a wait
// that polls or spins would show).
//
//   watch_idle_cpu PATH/TO/orgalink [SECONDS]   (default 60)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

// User plus system time of process `pid` so far, in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // Fields after the command name, which may hold spaces, ends with ')'.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14) utime = std::stol(field);
    if (index == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return utime + stime;
}

// Reads the child's standard error until its first line (watch says it is
// waiting), or for at most ten seconds.
bool AwaitFirstLine(int fd) {
  std::string seen;
  pollfd readable{fd, POLLIN, 0};
  while (seen.find('\n') == std::string::npos) {
    if (poll(&readable, 1, 10000) <= 0) return false;
    char buffer[256];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) return false;
    seen.append(buffer, static_cast<std::size_t>(got));
  }
  std::fprintf(stderr, "%s", seen.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH/TO/orgalink [SECONDS]\n", argv[0]);
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  const std::string device = ptsname(master);
  char folder[] = "/tmp/watch_idle_cpu.XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string settings = std::string(folder) + "/Orgalink.ini";
  std::ofstream(settings) << "[Path]\nBackupDir=" << folder << "/backups\n";
  setenv("XDG_RUNTIME_DIR", folder, 1);

  int errors[2];
  if (pipe(errors) != 0) return 1;
  const pid_t child = fork();
  if (child == 0) {
    dup2(errors[1], STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execl(argv[1], argv[1], "watch", "--port", device.c_str(), "--settings", settings.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(errors[1]);
  if (child < 0 || !AwaitFirstLine(errors[0])) {
    std::fprintf(stderr, "watch did not start\n");
    if (child > 0) kill(child, SIGKILL);
    return 1;
  }

  const long ticks_per_second = sysconf(_SC_CLK_TCK);
  const long cpu_start = CpuTicks(child);
  const auto wall_start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const long cpu = CpuTicks(child) - cpu_start;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
  const double cpu_seconds = static_cast<double>(cpu) / static_cast<double>(ticks_per_second);
  std::printf("watch idle on %s: wall %.1f s, cpu %.3f s (%.3f%% of one core; resolution %.3f%%)\n",
              device.c_str(), wall, cpu_seconds, 100.0 * cpu_seconds / wall,
              100.0 / static_cast<double>(ticks_per_second) / wall);

  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
