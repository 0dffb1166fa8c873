// SPDX-License-Identifier: GPL-3.0-or-later
// CPU time of the link engine while it waits for the organizer, over a real
// pseudo-terminal: a silent line, and a line with a stray byte every 50 ms.
// Prints wall and CPU time; the CPU share must stay a small fraction.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "link/link_engine.h"
#include "platform/posix_serial_port.h"

namespace {

double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void Measure(const char* name, orgalink::link::LinkEngine& engine) {
  const auto wall_start = std::chrono::steady_clock::now();
  const double cpu_start = CpuMs();
  const int status = orgalink::link::ToInt(
      engine.WaitCommand(orgalink::link::ACK, nullptr, nullptr, 2000, 0).status);
  const double cpu = CpuMs() - cpu_start;
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_start)
          .count();
  std::printf("%s: wall %.0f ms, cpu %.1f ms (%.2f%%), status %d\n", name, wall, cpu,
              100.0 * cpu / wall, status);
}

}  // namespace

int main() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  const std::string slave = ptsname(master);
  orgalink::link::LinkEngine engine;
  engine.Link().SetEchoBack(false);
  engine.Link().SetPortOpener([&](int, int baud, std::string& error) {
    return orgalink::platform::OpenPosixSerialPort(
        slave, baud, orgalink::platform::SystemClock::Instance(), error);
  });
  if (!engine.Link().OpenPort(0)) {
    std::fprintf(stderr, "cannot open %s: %s\n", slave.c_str(), engine.Link().OpenError().c_str());
    return 1;
  }

  Measure("silent line", engine);

  std::atomic<bool> stop{false};
  std::thread chatter([&] {
    const unsigned char stray = 0x55;
    while (!stop) {
      if (write(master, &stray, 1) != 1) break;
      poll(nullptr, 0, 50);
    }
  });
  Measure("stray byte every 50 ms", engine);
  stop = true;
  chatter.join();
  engine.Link().ClosePort();
  close(master);
  return 0;
}
