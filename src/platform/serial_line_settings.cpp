// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_line_settings.h"

#include <errno.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <string>

namespace orgalink::platform {

namespace {

// The one list of rates, with the code termios knows each by.
constexpr struct {
  int baud;
  speed_t speed;
} kRates[] = {
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

speed_t SpeedCode(int baud) {
  for (const auto& rate : kRates) {
    if (rate.baud == baud) return rate.speed;
  }
  return B19200;
}

}  // namespace

int SupportedBaud(int baud) {
  for (const auto& rate : kRates) {
    if (rate.baud == baud) return baud;
  }
  return kDefaultBaud;
}

int BaudFromText(std::string_view text) {
  for (const auto& rate : kRates) {
    if (std::to_string(rate.baud) == text) return rate.baud;
  }
  return kDefaultBaud;
}

void MakeRaw8N1(termios& settings, int baud) {
  cfmakeraw(&settings);
  settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  cfsetispeed(&settings, SpeedCode(baud));
  cfsetospeed(&settings, SpeedCode(baud));
}

void LowLatency::Request(int fd) {
  serial_struct serial{};
  if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
  if ((serial.flags & ASYNC_LOW_LATENCY) != 0) return;
  serial.flags |= ASYNC_LOW_LATENCY;
  changed_ = ioctl(fd, TIOCSSERIAL, &serial) == 0;
}

void LowLatency::Restore(int fd) {
  if (!changed_) return;
  changed_ = false;
  serial_struct serial{};
  if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
  serial.flags &= ~ASYNC_LOW_LATENCY;
  ioctl(fd, TIOCSSERIAL, &serial);
}

bool SetModemLines(int fd, bool raise) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (ioctl(fd, raise ? TIOCMBIS : TIOCMBIC, &lines) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

}  // namespace orgalink::platform
