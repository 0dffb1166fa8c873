// The line after a failure's status text: the cause and what to try.

#include "ui/failure_advice.h"

#include <gtest/gtest.h>

#include <system_error>

namespace orgalink::ui {
namespace {

std::string SystemText(std::errc error) {
  return std::make_error_code(error).message();
}

TEST(FailureAdvice, NamesTheCauseAndTheHintThatFitsIt) {
  const struct Case {
    link::LinkStatus status;
    std::vector<std::string> cause;
    std::string openError;
    std::string line;
  } cases[] = {
      {link::LinkPortErrorCom1,
       {"Can't Open COM Port"},
       SystemText(std::errc::permission_denied),
       "Cause: Can't Open COM Port (Permission denied). Try: join the port's group, usually "
       "dialout, then log in again (orgalink ports shows how)."},
      {link::LinkPortError,
       {"Can't Open COM Port"},
       SystemText(std::errc::resource_unavailable_try_again),
       "Cause: Can't Open COM Port (Resource temporarily unavailable). Try: another program "
       "holds the port; end it or wait until it lets go."},
      {link::LinkPortError,
       {"Can't Open COM Port"},
       SystemText(std::errc::device_or_resource_busy),
       "Cause: Can't Open COM Port (Device or resource busy). Try: another program holds the "
       "port; end it or wait until it lets go."},
      // The device a failed open names leaves the hint as it was.
      {link::LinkPortError,
       {"Can't Open COM Port"},
       "/dev/ttyS9: " + SystemText(std::errc::no_such_file_or_directory),
       "Cause: Can't Open COM Port (/dev/ttyS9: No such file or directory). Try: check the "
       "port: --port, or COMPort and [Ports] in the settings file."},
      {link::LinkIoError,
       {"NOT Receive EchoBack", "Command Send Err"},
       "",
       "Cause: NOT Receive EchoBack; Command Send Err. Try: check that the cable is plugged in; "
       "a cable that does not echo needs --echo 0 (EchoBack=0)."},
      {link::LinkTimeout,
       {"Time Out(NegoticationForDevice) Break"},
       "",
       "Cause: Time Out(NegoticationForDevice) Break. Try: press the organizer's PC-LINK button, "
       "or check the port (--port)."},
      {link::LinkIoError,
       {"Another Device Code(High)"},
       "",
       "Cause: Another Device Code(High). Try: check the DeviceCode setting (--device-code)."},
      // A cause without a known remedy is still told; nothing known, nothing said.
      {link::LinkIoError,
       {"CheckSum Err", "Abort (Now RecordIdx=3)"},
       "",
       "Cause: CheckSum Err; Abort (Now RecordIdx=3)."},
      {link::LinkIoError, {}, "", ""},
      // Success, an abort and a cancelled retry need no explaining.
      {link::LinkOk, {"NOT Command (Wait Command)"}, "", ""},
      {link::LinkAborted, {"Abort(WaitCommand)"}, "", ""},
      {link::LinkFileReadCancelled, {"Write File Err"}, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureAdvice({c.status, c.cause, c.openError}), c.line);
  }
}

}  // namespace
}  // namespace orgalink::ui
