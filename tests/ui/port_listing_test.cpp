// SPDX-License-Identifier: GPL-3.0-or-later
// The text of `orgalink ports`.

#include "ui/port_listing.h"

#include <gtest/gtest.h>

namespace orgalink::ui {
namespace {

using platform::DeviceAccess;
using platform::SerialPortEntry;

const std::string kByIdLink = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

SerialPortEntry UsbAdapter(DeviceAccess access) {
  return {"ttyUSB0",   "/dev/ttyUSB0",
          "ftdi_sio",  platform::UsbIdentity{"0403", "6001", "FTDI", "FT232R USB UART"},
          {kByIdLink}, std::move(access)};
}

SerialPortEntry Uart(const std::string& name, DeviceAccess access) {
  return {name, "/dev/" + name, "serial", std::nullopt, {}, std::move(access)};
}

PortListingInput Machine(std::vector<SerialPortEntry> ports) {
  return {std::move(ports),
          {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"},
          "/home/me/.config/orgalink/Orgalink.ini",
          false};
}

const DeviceAccess kAllowed{true, true, "dialout", true, false};
const DeviceAccess kNotInDialout{true, false, "dialout", true, false};

// The block of one port: from its device path up to the blank line after it.
std::string BlockOf(const std::string& text, const std::string& devicePath) {
  const std::size_t start = text.find("\n" + devicePath + "\n");
  if (start == std::string::npos) return {};
  const std::size_t end = text.find("\n\n", start + 1);
  return text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start);
}

TEST(PortListing, ShowsEachPortWithItsDescriptionSlotAndAccess) {
  PortListingInput input = Machine({Uart("ttyS0", kAllowed), UsbAdapter(kNotInDialout)});
  input.comDevices[2] = kByIdLink;  // COM3 names the adapter by its stable link
  const std::string text = FormatPortListing(input);

  EXPECT_EQ(BlockOf(text, "/dev/ttyS0"),
            "/dev/ttyS0\n"
            "  Description: serial\n"
            "  COM slot:    COM1\n"
            "  Access:      this user may read and write it\n");
  EXPECT_EQ(BlockOf(text, "/dev/ttyUSB0"),
            "/dev/ttyUSB0\n"
            "  Description: ftdi_sio, USB 0403:6001 FTDI FT232R USB UART\n"
            "  By id:       " +
                kByIdLink +
                "\n"
                "  COM slot:    COM3\n"
                "  Access:      not allowed: it belongs to group dialout, which this user is not "
                "in\n"
                "               Fix: sudo usermod -aG dialout $USER, then log out and in again.\n");
  // Every port has a slot, so there is no hint on how to map one.
  EXPECT_EQ(text.find("[Ports]"), std::string::npos) << text;
  EXPECT_EQ(text.find("ModemManager"), std::string::npos) << text;
}

TEST(PortListing, APortWithoutSlotGetsTheHintAndOneWithSeveralNamesThemAll) {
  PortListingInput input = Machine({Uart("ttyS1", kAllowed), Uart("ttyS4", kAllowed)});
  input.comDevices[3] = "/dev/ttyS1";
  const std::string text = FormatPortListing(input);
  EXPECT_NE(BlockOf(text, "/dev/ttyS1").find("COM slot:    COM2, COM4\n"), std::string::npos);
  EXPECT_NE(BlockOf(text, "/dev/ttyS4").find("COM slot:    none\n"), std::string::npos);
  EXPECT_NE(text.find("set COMn=<device path> in section [Ports] of\n"
                      "/home/me/.config/orgalink/Orgalink.ini"),
            std::string::npos)
      << text;
}

TEST(PortListing, AccessAdviceFitsWhatKeepsTheUserOut) {
  struct Case {
    const char* what;
    DeviceAccess access;
    std::vector<std::string> wanted;
    std::vector<std::string> unwanted;
  };
  const std::vector<Case> cases = {
      {"a group of another name",
       {true, false, "uucp", true, false},
       {"belongs to group uucp", "sudo usermod -aG uucp $USER, then log out and in again."},
       {"dialout"}},
      {"joined after logging in",
       {true, false, "dialout", true, true},
       {"joined group dialout after logging in", "log out and in again", "newgrp dialout"},
       {"usermod"}},
      {"owner only",
       {true, false, "root", false, false},
       {"only its owner may open it", "  KERNEL==\"ttyS0\", GROUP=\"dialout\", MODE=\"0660\"",
        "sudo usermod -aG dialout $USER"},
       {"-aG root"}},
      {"group root even with access",
       {true, false, "root", true, false},
       {"only its owner and group root may open it"},
       {"-aG root"}},
      {"no node", {false, false, "", false, false}, {"no device node at /dev/ttyS0"}, {"Fix"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = FormatPortListing(Machine({Uart("ttyS0", c.access)}));
    for (const std::string& part : c.wanted) EXPECT_NE(text.find(part), std::string::npos) << text;
    for (const std::string& part : c.unwanted)
      EXPECT_EQ(text.find(part), std::string::npos) << text;
  }
}

TEST(PortListing, WarnsOfModemManagerWithARuleForEachAdapter) {
  PortListingInput input = Machine({Uart("ttyS0", kAllowed), UsbAdapter(kAllowed)});
  input.modemManagerRunning = true;
  const std::string text = FormatPortListing(input);
  EXPECT_NE(text.find("Warning: ModemManager is running."), std::string::npos) << text;
  EXPECT_NE(text.find("  sudo systemctl disable --now ModemManager\n"), std::string::npos);
  EXPECT_NE(text.find("  ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                      "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("<vendor>"), std::string::npos);
}

TEST(PortListing, NoPortsSaysSoAndPointsToAdaptersAndPort) {
  PortListingInput input = Machine({});
  input.modemManagerRunning = true;
  const std::string text = FormatPortListing(input);
  EXPECT_EQ(text.rfind("No serial ports found.\n", 0), 0u) << text;
  EXPECT_NE(text.find("USB serial adapter"), std::string::npos);
  EXPECT_NE(text.find("--port /dev/ttyUSB0"), std::string::npos);
  // With no adapter found, the ignore rule shows where its numbers go.
  EXPECT_NE(text.find("ATTRS{idVendor}==\"<vendor>\""), std::string::npos) << text;
}

}  // namespace
}  // namespace orgalink::ui
