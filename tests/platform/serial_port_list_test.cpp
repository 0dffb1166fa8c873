// SPDX-License-Identifier: GPL-3.0-or-later
// Port discovery on a fake /sys, /dev and /proc built in a temporary folder.

#include "platform/serial_port_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/running_process.h"
#include "support/temp_dir.h"

namespace orgalink::platform {
namespace {

namespace fs = std::filesystem;

// Builds the parts of a machine's kernel view that port discovery reads.
class FakeMachine {
 public:
  std::string Path(const std::string& relative) const { return root_.File(relative); }
  // A device folder with its sysfs links, created with its parents.
  void Device(const std::string& folder, const std::string& subsystem, const std::string& driver) {
    fs::create_directories(Path(folder));
    fs::create_directory_symlink(Path("sys/bus/" + subsystem), Path(folder + "/subsystem"));
    if (!driver.empty()) {
      fs::create_directory_symlink(Path("sys/bus/" + subsystem + "/drivers/" + driver),
                                   Path(folder + "/driver"));
    }
  }
  // A /sys/class/tty entry; `device` "" leaves out the device link.
  void Tty(const std::string& name, const std::string& device, const std::string& type = "") {
    const std::string own = (device.empty() ? "sys/devices/virtual" : device) + "/tty/" + name;
    fs::create_directories(Path(own));
    if (!device.empty()) fs::create_directory_symlink(Path(device), Path(own + "/device"));
    if (!type.empty()) File(own + "/type", type + "\n");
    fs::create_directories(Path("sys/class/tty"));
    fs::create_directory_symlink(Path(own), Path("sys/class/tty/" + name));
  }
  void File(const std::string& relative, const std::string& text) const {
    fs::create_directories(fs::path(Path(relative)).parent_path());
    std::ofstream(Path(relative)) << text;
  }
  void ByIdLink(const std::string& name, const std::string& tty) {
    fs::create_directories(Path("dev/serial/by-id"));
    fs::create_symlink("../../" + tty, Path("dev/serial/by-id/" + name));
  }
  SerialPortRoots Roots() const {
    return {Path("sys/class/tty"), Path("dev"), Path("dev/serial/by-id")};
  }

 private:
  testsupport::TempDir root_;
};

TEST(SerialPortList, FindsRealPortsWithTheirDriverUsbIdentityAndLinks) {
  FakeMachine machine;
  // A UART on a recent kernel: the serial core's port and controller nodes
  // sit between the tty and the PnP device whose driver owns it.
  const std::string pnp = "sys/devices/pnp0/00:00";
  machine.Device(pnp, "pnp", "serial");
  machine.Device(pnp + "/00:00:0", "serial-base", "ctrl");
  machine.Device(pnp + "/00:00:0/00:00:0.0", "serial-base", "port");
  machine.Tty("ttyS0", pnp + "/00:00:0/00:00:0.0", "4");
  // The legacy driver's slots: two with a chip behind them, one without.
  machine.Device("sys/devices/platform/serial8250", "platform", "serial8250");
  machine.Tty("ttyS1", "sys/devices/platform/serial8250", "0");
  machine.Tty("ttyS2", "sys/devices/platform/serial8250", "4");
  machine.Tty("ttyS10", "sys/devices/platform/serial8250", "4");
  // A USB adapter: the device, its interface, the usb-serial port.
  const std::string usb = "sys/devices/pci0000:00/0000:00:14.0/usb1/1-1";
  machine.Device(usb, "usb", "usb");
  machine.File(usb + "/idVendor", "0403\n");
  machine.File(usb + "/idProduct", "6001\n");
  machine.File(usb + "/manufacturer", "FTDI\n");
  machine.File(usb + "/product", "FT232R USB UART\n");
  machine.Device(usb + "/1-1:1.0", "usb", "ftdi_sio");
  machine.Device(usb + "/1-1:1.0/ttyUSB0", "usb-serial", "ftdi_sio");
  machine.Tty("ttyUSB0", usb + "/1-1:1.0/ttyUSB0");
  machine.File("dev/ttyUSB0", "");
  machine.ByIdLink("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
  // A virtual console has no device behind it.
  machine.Tty("tty0", "");
  // A link to a port the kernel's list does not show.
  machine.ByIdLink("usb-Acme_Modem-if00", "ttyACM3");

  const std::vector<SerialPortEntry> ports = ListSerialPorts(machine.Roots());

  struct Expected {
    std::string name;
    std::string driver;
    bool usb;
    std::size_t links;
  };
  const std::vector<Expected> expected = {{"ttyACM3", "", false, 1},
                                          {"ttyS0", "serial", false, 0},
                                          {"ttyS2", "serial8250", false, 0},
                                          {"ttyS10", "serial8250", false, 0},
                                          {"ttyUSB0", "ftdi_sio", true, 1}};
  ASSERT_EQ(ports.size(), expected.size());
  for (std::size_t i = 0; i < ports.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(ports[i].name, expected[i].name);
    EXPECT_EQ(fs::path(ports[i].devicePath), fs::path(machine.Path("dev/" + expected[i].name)));
    EXPECT_EQ(ports[i].driver, expected[i].driver);
    EXPECT_EQ(ports[i].usb.has_value(), expected[i].usb);
    EXPECT_EQ(ports[i].links.size(), expected[i].links);
  }
  const SerialPortEntry& adapter = ports.back();
  ASSERT_TRUE(adapter.usb);
  EXPECT_EQ(adapter.usb->vendorId, "0403");
  EXPECT_EQ(adapter.usb->productId, "6001");
  EXPECT_EQ(adapter.usb->manufacturer, "FTDI");
  EXPECT_EQ(adapter.usb->product, "FT232R USB UART");
  EXPECT_EQ(
      adapter.links,
      std::vector{machine.Path("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")});
  // Only the adapter's node exists; it was made by this user, who may use it.
  EXPECT_TRUE(adapter.access.exists);
  EXPECT_TRUE(adapter.access.readWrite);
  EXPECT_FALSE(adapter.access.group.empty());
  EXPECT_FALSE(ports[1].access.exists);
}

TEST(SerialPortList, AMachineWithoutSerialPortsListsNone) {
  FakeMachine machine;
  machine.Tty("tty0", "");
  EXPECT_TRUE(ListSerialPorts(machine.Roots()).empty());
}

TEST(RunningProcess, FindsAProcessByItsCommandName) {
  FakeMachine machine;
  machine.File("proc/1/comm", "systemd\n");
  machine.File("proc/self/comm", "ModemManager\n");  // not a process folder
  EXPECT_FALSE(ProcessRunning("ModemManager", machine.Path("proc")));
  machine.File("proc/812/comm", "ModemManager\n");
  EXPECT_TRUE(ProcessRunning("ModemManager", machine.Path("proc")));
  EXPECT_FALSE(ProcessRunning("Modem", machine.Path("proc")));
  EXPECT_FALSE(ProcessRunning("ModemManager", machine.Path("no-proc")));
}

}  // namespace
}  // namespace orgalink::platform
