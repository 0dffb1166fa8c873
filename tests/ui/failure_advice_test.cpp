// SPDX-License-Identifier: GPL-3.0-or-later
// The line after a failure's status text: the cause and what to try.

#include "ui/failure_advice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

namespace orgalink::ui {
namespace {

std::string SystemText(std::errc error) {
  return std::make_error_code(error).message();
}

TEST(FailureAdvice, NamesTheCauseAndTheHintThatFitsIt) {
  using link::Cause;
  const Cause opening =
      Cause::System("opening the port", 0, SystemText(std::errc::permission_denied));
  const struct Case {
    link::LinkStatus status;
    Cause cause;
    std::string line;
  } cases[] = {
      {link::LinkPortErrorCom1, opening,
       "Cause: opening the port: Permission denied. Try: join the port's group, usually "
       "dialout, then log in again (orgalink ports shows how)."},
      {link::LinkPortError,
       Cause::System("opening the port", 0, SystemText(std::errc::resource_unavailable_try_again)),
       "Cause: opening the port: Resource temporarily unavailable. Try: another program "
       "holds the port; end it or wait until it lets go."},
      {link::LinkPortError,
       Cause::System("opening the port", 0, SystemText(std::errc::device_or_resource_busy)),
       "Cause: opening the port: Device or resource busy. Try: another program holds the "
       "port; end it or wait until it lets go."},
      // The device a failed open names leaves the hint as it was.
      {link::LinkPortError,
       Cause::System("opening the port", 0,
                     "/dev/ttyS9: " + SystemText(std::errc::no_such_file_or_directory)),
       "Cause: opening the port: /dev/ttyS9: No such file or directory. Try: check the port: "
       "--port, or COMPort and [Ports] in the settings file."},
      {link::LinkIoError, Cause::TimedOut("the echo of the 5 bytes sent", 10000),
       "Cause: the echo of the 5 bytes sent did not come within 10000 ms. Try: check that the "
       "cable is plugged in; a cable that does not echo needs --echo 0 (EchoBack=0)."},
      {link::LinkIoError, Cause::WrongData("echo of the bytes sent", 0x7F, 0x00),
       "Cause: wrong echo of the bytes sent: expected 0x7F, received 0x00. Try: check that the "
       "cable is plugged in; a cable that does not echo needs --echo 0 (EchoBack=0)."},
      {link::LinkTimeout, Cause::TimedOut("the PC's answer to LINK_REQUEST", 30000),
       "Cause: the PC's answer to LINK_REQUEST did not come within 30000 ms. Try: press the "
       "organizer's PC-LINK button, or check the port (--port)."},
      {link::LinkIoError, Cause::WrongData("device code (high)", 2, 1),
       "Cause: wrong device code (high): expected 0x02, received 0x01. Try: check the "
       "DeviceCode setting (--device-code)."},
      // A raised Telephone minimum, not the organizer, refused the transfer.
      {link::LinkReceiveIncomplete,
       Cause::WrongData("count of Telephone records against BKTelRecordsMin", 30, 25,
                        "25 Telephone records arrived, and the Telephone minimum "
                        "BKTelRecordsMin (--tel-min) is 30: a transfer counts as complete only "
                        "with more than 30"),
       "Cause: 25 Telephone records arrived, and the Telephone minimum BKTelRecordsMin "
       "(--tel-min) is 30: a transfer counts as complete only with more than 30. Try: if the "
       "organizer holds no more Telephone records than that, lower BKTelRecordsMin in the "
       "settings file (or give --tel-min) below their number; 1 is the usual value."},
      // A cause without a known remedy is still told; nothing known, nothing said.
      {link::LinkIoError, Cause::WrongData("checksum of a data packet", 0x12, 0x34),
       "Cause: wrong checksum of a data packet: expected 0x12, received 0x34."},
      {link::LinkIoError, {}, ""},
      // Success, an abort and a cancelled retry need no explaining.
      {link::LinkOk, opening, ""},
      {link::LinkAborted, Cause::Aborted(), ""},
      {link::LinkFileReadCancelled, Cause::File("No space left on device", ENOSPC), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureAdvice({c.status, c.cause}), c.line);
    // The dialogs take no options: the same cause, and a hint that names none.
    const std::string dialog = FailureAdvice({c.status, c.cause}, RestoreFront::Dialog);
    const std::size_t hint = c.line.find(" Try: ");
    EXPECT_EQ(dialog.substr(0, hint), c.line.substr(0, hint));
    if (hint == std::string::npos) continue;
    EXPECT_EQ(dialog.find("--", hint), std::string::npos) << dialog;
    EXPECT_NE(dialog.find(" Try: ", hint), std::string::npos) << dialog;
  }
}

}  // namespace
}  // namespace orgalink::ui
