#include "platform/serial_line_settings.h"

#include <errno.h>
#include <sys/ioctl.h>

namespace orgalink::platform {

namespace {

speed_t SpeedCode(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B19200;
  }
}

}  // namespace

int SupportedBaud(int baud) {
  switch (baud) {
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
      return baud;
    default:
      return 19200;
  }
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

bool SetModemLines(int fd, bool raise) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (ioctl(fd, raise ? TIOCMBIS : TIOCMBIC, &lines) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

}  // namespace orgalink::platform
