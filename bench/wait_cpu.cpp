// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how much processor time the serial port's waits use: a wait that
// spins shows up as a CPU share near 100 %, a wait that sleeps in poll() as
// a small fraction of a percent.

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix_serial_port.h"

namespace {

using orgalink::platform::CancelToken;
using orgalink::platform::Deadline;
using orgalink::platform::SerialPort;
using orgalink::platform::SystemClock;
using orgalink::platform::WaitResult;

double CpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs `body` and prints its wall time against the processor time it used.
template <typename Body>
void Measure(const char* name, Body body) {
  double cpu_start = CpuMilliseconds();
  auto wall_start = std::chrono::steady_clock::now();
  const char* outcome = body();
  double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_start)
          .count();
  double cpu = CpuMilliseconds() - cpu_start;
  std::printf("%s: wall %.0f ms, cpu %.1f ms (%.2f%%) -> %s\n", name, wall, cpu,
              wall > 0 ? 100.0 * cpu / wall : 0.0, outcome);
}

const char* Name(WaitResult result) {
  switch (result) {
    case WaitResult::Ready:
      return "ready";
    case WaitResult::Cancelled:
      return "cancelled";
    case WaitResult::Timeout:
      return "timeout";
    case WaitResult::Error:
      return "error";
  }
  return "?";
}

}  // namespace

int main() {
  int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  SystemClock& clock = SystemClock::Instance();
  std::string error;
  std::unique_ptr<SerialPort> port = OpenPosixSerialPort(ptsname(master), 19200, clock, error);
  if (!port) {
    std::fprintf(stderr, "open: %s\n", error.c_str());
    return 1;
  }
  CancelToken cancel;

  // Two bytes of five: the device stays readable, which a careless wait
  // would answer with a busy loop.
  const char partial[] = "ab";
  if (write(master, partial, 2) != 2) return 1;
  Measure("wait_input", [&] { return Name(port->WaitInput(5, Deadline(clock, 2000), cancel)); });

  // Nobody reads the master side, so the write soon finds the device full
  // and must sleep until the cancel made 1.5 s later ends it.
  std::vector<std::uint8_t> block(1 << 20, 0x55);
  std::size_t written = 0;
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    cancel.Set();
  });
  Measure("write_blocked", [&] {
    return Name(port->Write(block.data(), block.size(), written, Deadline(clock, 60000), cancel));
  });
  poster.join();
  std::printf("  (%zu of %zu bytes taken by the device)\n", written, block.size());

  // A pseudo-terminal reports no output queue, so this one returns at once;
  // on a real port it sleeps while the queued bytes go out.
  Measure("wait_output_empty",
          [&] { return Name(port->WaitOutputEmpty(Deadline(clock, 1000), CancelToken::Never())); });
  port.reset();
  close(master);
  return 0;
}
