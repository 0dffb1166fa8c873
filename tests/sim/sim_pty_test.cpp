// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer on a real pseudo-terminal, the product's PC side on the
// device path, both on the system clock.

#include <gtest/gtest.h>

#include "platform/posix_serial_port.h"
#include "sim/pty_service.h"
#include "sim_run.h"
#include "support/temp_dir.h"

namespace orgalink::simtest {
namespace {

link::StepResult BackupOver(const std::string& device, const store::CharTables& tables,
                            Applis& fetched) {
  link::LinkEngine engine(platform::SystemClock::Instance());
  engine.Link().SetPortOpener([&device](int, int baud, std::string& error) {
    return platform::OpenPosixSerialPort(device, baud, platform::SystemClock::Instance(), error);
  });
  if (!engine.Link().OpenPort(1)) return engine.Status();
  const link::StepResult status =
      PcBackup(engine, nullptr, {&tables.weights, &tables.incoming}, fetched);
  engine.Link().ClosePort();
  return status;
}

// The organizer echoes like the cable (the engine's EchoBack is on) and
// serves one program after the other on the same device.
TEST(SimPty, ProgramsBackUpTheOrganizerOneAfterTheOther) {
  testsupport::TempDir dir;
  std::string error;
  auto service = sim::PtyService::Start(TestOptions(dir.File("organizer.bkf")), error);
  ASSERT_NE(service, nullptr) << error;
  const store::CharTables tables = Tables();
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    Applis fetched;
    EXPECT_EQ(BackupOver(service->DevicePath(), tables, fetched), link::LinkOk);
    EXPECT_EQ(fetched, ApplisOf(Sample()));
  }
  EXPECT_EQ(service->Organizer().Stats().sessions, 2);
}

}  // namespace
}  // namespace orgalink::simtest
