// SPDX-License-Identifier: GPL-3.0-or-later
// The context of the operations: application and device code settings, and
// the hand-over of one communication's settings.

#include "operations/run_context.h"

#include <gtest/gtest.h>

#include "link/comm_log.h"
#include "link/link_engine.h"
#include "operations/configure_run.h"
#include "platform/clock.h"
#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "support/line_fixture.h"
#include "support/temp_dir.h"

namespace orgalink::operations {
namespace {

using link::LinkEngine;
using store::AllApplis;

TEST(RunContext, AppliModeIsMatchedExactlyAndLogsAMiss) {
  testsupport::TempDir dir;
  LinkEngine engine;
  RunContext run(engine);
  engine.Log().SetFileName(dir.File("log"));
  SetAppliMode(run, "Telephone");
  EXPECT_EQ(run.appliKind, 5);
  SetAppliMode(run, "telephone");
  EXPECT_EQ(run.appliKind, 5);
  SetAppliMode(run, "ALL");
  EXPECT_EQ(run.appliKind, AllApplis);
  SetAppliMode(run, "To Do");
  EXPECT_EQ(run.appliKind, 2);
  SetAppliMode(run, "Expense Category");
  EXPECT_EQ(run.appliKind, 6);
  const std::string log = testsupport::ReadFile(dir.File("log"));
  EXPECT_NE(log.find("!!! Appli Name Err (Pass)"), std::string::npos);
  EXPECT_EQ(log.find("!!! Appli Name Err (Pass)\r\n"), std::string::npos);  // no line end
}

TEST(RunContext, DeviceCodeOneIsHighOneAnythingElseHighTwo) {
  for (int code : {0, 1, 2, 7}) {
    LinkEngine engine;
    store::AppliStore store;
    RunContext run(engine);
    run.store = &store;
    SetDeviceCode(run, code);
    const int high = code == 1 ? 1 : 2;
    EXPECT_EQ(engine.DeviceCodeHigh(), high);
    EXPECT_EQ(engine.DeviceCodeLow(), 0);
    EXPECT_EQ(store.DeviceCode()[0], high);
  }
}

TEST(ConfigureRun, LogsTheSettingsAsHandedOverAndKeepsTheStoreDeviceCode) {
  testsupport::TempDir dir;
  platform::VirtualClock clock;
  clock.SetLocalTime("10/12/26 09:15:00");
  link::ResetLogTimeReference();
  LinkEngine engine(clock);
  store::AppliStore store;
  settings::RunSettings settings;
  settings.runMode = settings::RunMode::SendNack;
  settings.deviceCode = 1;
  settings.comPort = 3;
  settings.fileName = "a.bkf";
  settings.logFileName = dir.File("comm.log");
  settings.echoBack = 5;
  settings.fileScramble = 0;
  settings.toMultiplier = 7;
  settings.quietWindow = 25;
  RunContext run(engine);
  ConfigureRun(run, store, settings);

  EXPECT_EQ(engine.Link().EchoBack(), 1);
  EXPECT_EQ(engine.DeviceCodeHigh(), 1);
  EXPECT_EQ(store.DeviceCode()[0], 2);  // linked only after the device code was set
  EXPECT_EQ(run.store, &store);
  EXPECT_FALSE(run.fileScramble);
  EXPECT_EQ(run.fileName, "a.bkf");
  EXPECT_EQ(engine.Link().QuietWindow(), 25u);
  const std::string expected =
      "{10/12/26 09:15:00}\r\n===== Start Settings =====\r\nRunMode=11\r\nDeviceCode=1\r\n"
      "COMPort=3\r\nBaudRate=19200\r\nAppliMode=ALL\r\nFileName=a.bkf\r\nLogFileName=" +
      settings.logFileName +
      "\r\nEchoBack=5\r\nFileScramble=0\r\nTOCommand=30000\r\nTODataPacket=30000\r\n"
      "TOMultiplier=7\r\n===== End Settings =====\r\n\r\n";
  EXPECT_EQ(testsupport::ReadFile(settings.logFileName), expected);
}

}  // namespace
}  // namespace orgalink::operations
