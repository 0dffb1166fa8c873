// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink detect on a machine whose COM1..COM4 do not exist and whose
// organizer hangs on a USB adapter, here a pseudo-terminal that a made-up
// kernel view (ORGALINK_SYSROOT) lists as ttyUSB0.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "link/command_code.h"
#include "support/pty.h"
#include "support/pty_far_port.h"
#include "support/pty_organizer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/transfer_peer.h"

namespace orgalink {
namespace {

namespace fs = std::filesystem;
using namespace testsupport;

// A machine with a plain serial port ttyS5 and a USB adapter ttyUSB0 with its
// by-id link, each node standing for a pseudo-terminal; the listing is read
// from it while the object lives.
class MadeUpMachine {
 public:
  MadeUpMachine(const std::string& uart, const std::string& adapter) {
    Tty("ttyS5", "platform/serial8250", uart);
    Tty("ttyUSB0", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0", adapter);
    fs::create_directories(root_.File("dev/serial/by-id"));
    fs::create_symlink("../../ttyUSB0", ByIdLink());
    setenv("ORGALINK_SYSROOT", root_.path().c_str(), 1);
  }
  ~MadeUpMachine() { unsetenv("ORGALINK_SYSROOT"); }

  std::string ByIdLink() const { return root_.File("dev/serial/by-id/usb-Acme_Serial-if00"); }

 private:
  void Tty(const std::string& name, const std::string& device, const std::string& node) {
    fs::create_directories(root_.File("sys/devices/" + device));
    fs::create_directories(root_.File("sys/class/tty/" + name));
    fs::create_directory_symlink(root_.File("sys/devices/" + device),
                                 root_.File("sys/class/tty/" + name + "/device"));
    fs::create_directories(root_.File("dev"));
    fs::create_symlink(node, root_.File("dev/" + name));
  }

  TempDir root_;
};

// After COM1..COM4 the search tries the adapter before the plain port, by its
// by-id name; --save puts it into [Ports] for the COM port COMPort names, and
// the next command without --port reaches the organizer there.
TEST(DetectCommand, FindsTheOrganizerOnAUsbAdapterAndKeepsItForTheNextCommand) {
  TempDir dir;
  Pty uart, adapter;
  MadeUpMachine machine(uart.slave_path(), adapter.slave_path());
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=3\n[Ports]\nCOM1=" << dir.File("none1")
                     << "\nCOM2=" << dir.File("none2") << "\nCOM3=" << dir.File("none3")
                     << "\nCOM4=" << dir.File("none4") << "\n";
  Bytes released;
  std::thread organizer([&] {
    PtyFarPort port(adapter);
    if (NegotiateOnPty(adapter, Variant::M)) released = adapter.Read(5);
  });
  const auto detect =
      RunProgram(ORGALINK_CLI, {"detect", "--save", "--echo", "0", "--settings", ini});
  organizer.join();
  ASSERT_EQ(detect.exit_code, 0) << detect.err;
  EXPECT_EQ(detect.out, "Organizer detected on COM3 (" + machine.ByIdLink() + ").\n");
  EXPECT_NE(detect.err.find("Checking COM4\nChecking " + machine.ByIdLink() + "\n"),
            std::string::npos)
      << detect.err;
  EXPECT_EQ(released, CommandFrame(link::END_COMMUNICATION));
  const std::string kept = ReadFile(ini);
  EXPECT_NE(kept.find("COM3=" + machine.ByIdLink() + "\n"), std::string::npos) << kept;

  std::thread again([&] {
    PtyFarPort port(adapter);
    NegotiateOnPty(adapter, Variant::M);
  });
  const auto negotiate =
      RunProgram(ORGALINK_CLI, {"run-mode", "0", "--echo", "0", "--settings", ini});
  again.join();
  EXPECT_EQ(negotiate.exit_code, 0) << negotiate.err;
}

// The same machine as `ports --json` lists it: the adapter with its by-id
// link and the COM port whose [Ports] device names it by that link.
TEST(PortsCommand, JsonListsTheAdaptersAndTheirComPorts) {
  TempDir dir;
  Pty uart, adapter;
  MadeUpMachine machine(uart.slave_path(), adapter.slave_path());
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Ports]\nCOM2=" << machine.ByIdLink() << "\n";
  const auto result = RunProgram(ORGALINK_CLI, {"ports", "--json", "--settings", ini});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto listing = nlohmann::json::parse(result.out);
  EXPECT_EQ(listing["settingsFile"], ini);
  EXPECT_EQ(listing["comDevices"]["COM2"], adapter.slave_path());
  ASSERT_EQ(listing["ports"].size(), 2u);
  const auto& usb = listing["ports"][1];
  EXPECT_EQ(usb["name"], "ttyUSB0");
  EXPECT_EQ(usb["byId"], nlohmann::json::array({machine.ByIdLink()}));
  EXPECT_EQ(usb["comPorts"], nlohmann::json::array({2}));
  EXPECT_EQ(usb["access"]["mayOpen"], true);
  EXPECT_EQ(listing["ports"][0]["name"], "ttyS5");
  EXPECT_EQ(listing["ports"][0]["comPorts"], nlohmann::json::array());
}

}  // namespace
}  // namespace orgalink
