// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pseudo_terminal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <cstring>

#include "platform/posix_serial_port.h"
#include "platform/serial_line_settings.h"

namespace orgalink::platform {

namespace {

constexpr int kOpenFlags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

bool Fail(std::string& error) {
  error = std::strerror(errno);
  return false;
}

// Unlocks the device side of `master` and gives its path.
bool DeviceSideOf(int master, std::string& path, std::string& error) {
  char name[128];
  if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
    return Fail(error);
  }
  path = name;
  return true;
}

bool MakeRaw(int fd, int baud, std::string& error) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return Fail(error);
  MakeRaw8N1(settings, SupportedBaud(baud));
  return tcsetattr(fd, TCSANOW, &settings) == 0 || Fail(error);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(int baud, Clock& clock, std::string& error) {
  UniqueFd master(posix_openpt(kOpenFlags));
  if (!master.Valid()) {
    Fail(error);
    return nullptr;
  }
  std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal());
  if (!DeviceSideOf(master.Get(), pty->device_path_, error)) return nullptr;
  pty->device_ = UniqueFd(open(pty->device_path_.c_str(), kOpenFlags));
  if (!pty->device_.Valid()) {
    Fail(error);
    return nullptr;
  }
  if (!MakeRaw(pty->device_.Get(), baud, error)) return nullptr;
  pty->master_ = AdoptPosixSerialDevice(master.Release(), baud, clock, error);
  if (!pty->master_) return nullptr;
  return pty;
}

// The master goes first: the program on the device side sees the hang-up.
PseudoTerminal::~PseudoTerminal() {
  master_.reset();
  device_.Reset();
}

}  // namespace orgalink::platform
