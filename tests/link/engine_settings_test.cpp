// Status setter, settings conversions and the status texts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/comm_log.h"
#include "link/configure_run.h"
#include "link/link_engine.h"
#include "platform/clock.h"
#include "store/appli_store.h"
#include "support/line_fixture.h"
#include "support/temp_dir.h"

namespace orgalink::link {
namespace {

TEST(SetStatus, FollowsThePortRules) {
  struct Case {
    int code, port, expected;
  } cases[] = {
      {16, 3, 3},  {16, 1, 1},   {11, 2, 7}, {11, 4, 9}, {11, 5, 10},
      {11, 0, 10}, {11, -1, 11}, {5, -1, 5}, {0, -1, 0}, {16, -1, 16},
  };
  for (const auto& c : cases) {
    LinkEngine engine;
    engine.SetStatus(c.code, c.port);
    EXPECT_EQ(engine.Status(), c.expected) << c.code << "," << c.port;
  }
}

TEST(SetStatus, AnOutOfRangeStatusBecomesPortErrorWhateverFollows) {
  LinkEngine engine;
  engine.SetStatus(17, -1);  // a value the setter itself never expects to hold
  engine.SetStatus(16, -1);
  EXPECT_EQ(engine.Status(), LinkPortError);
}

TEST(EngineSettings, BaudRateAcceptsOnlyItsListedTexts) {
  struct Case {
    const char* text;
    int rate;
  } cases[] = {{"9600", 9600},     {"19200", 19200}, {"38400", 38400}, {"57600", 57600},
               {"115200", 115200}, {"4800", 19200},  {"", 19200},      {"9600 ", 19200}};
  for (const auto& c : cases) {
    LinkEngine engine;
    engine.SetBaudRate("115200");
    engine.SetBaudRate(c.text);
    EXPECT_EQ(engine.BaudRate(), c.rate) << c.text;
  }
}

TEST(EngineSettings, AppliModeIsMatchedExactlyAndLogsAMiss) {
  testsupport::TempDir dir;
  LinkEngine engine;
  engine.SetLogFileName(dir.File("log"));
  engine.SetAppliMode("Telephone");
  EXPECT_EQ(engine.AppliKind(), 5);
  engine.SetAppliMode("telephone");
  EXPECT_EQ(engine.AppliKind(), 5);
  engine.SetAppliMode("ALL");
  EXPECT_EQ(engine.AppliKind(), AllApplis);
  engine.SetAppliMode("To Do");
  EXPECT_EQ(engine.AppliKind(), 2);
  const std::string log = testsupport::ReadFile(dir.File("log"));
  EXPECT_NE(log.find("!!! Appli Name Err (Pass)"), std::string::npos);
  EXPECT_EQ(log.find("!!! Appli Name Err (Pass)\r\n"), std::string::npos);  // no line end
}

TEST(EngineSettings, DeviceCodeOneIsHighOneAnythingElseHighTwo) {
  for (int code : {0, 1, 2, 7}) {
    LinkEngine engine;
    store::AppliStore store;
    engine.SetStore(&store);
    engine.SetDeviceCode(code);
    const int high = code == 1 ? 1 : 2;
    EXPECT_EQ(engine.DeviceCodeHigh(), high);
    EXPECT_EQ(engine.DeviceCodeLow(), 0);
    EXPECT_EQ(store.DeviceCode()[0], high);
  }
}

TEST(EngineSettings, LogFileNameRemovesAnOldLogButNeverAFolder) {
  testsupport::TempDir dir;
  const std::string log = dir.File("comm.log"), folder = dir.File("logs");
  std::ofstream(log) << "old";
  std::filesystem::create_directory(folder);
  LinkEngine engine;
  EXPECT_EQ(engine.SetLogFileName(log), 1);
  EXPECT_FALSE(std::filesystem::exists(log));
  EXPECT_EQ(engine.SetLogFileName(log), 0);
  EXPECT_EQ(engine.SetLogFileName(folder), 0);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ConfigureRun, LogsTheSettingsAsHandedOverAndKeepsTheStoreDeviceCode) {
  testsupport::TempDir dir;
  platform::VirtualClock clock;
  clock.SetLocalTime("10/12/26 09:15:00");
  ResetLogTimeReference();
  LinkEngine engine(clock);
  store::AppliStore store;
  RunSettings settings;
  settings.runMode = 11;
  settings.deviceCode = 1;
  settings.comPort = 3;
  settings.fileName = "a.bkf";
  settings.logFileName = dir.File("comm.log");
  settings.echoBack = 5;
  settings.fileScramble = 0;
  settings.toMultiplier = 7;
  ConfigureRun(engine, store, settings);

  EXPECT_EQ(engine.EchoBack(), 1);
  EXPECT_EQ(engine.DeviceCodeHigh(), 1);
  EXPECT_EQ(store.DeviceCode()[0], 2);  // linked only after the device code was set
  EXPECT_EQ(engine.Store(), &store);
  const std::string expected =
      "{10/12/26 09:15:00}\r\n===== Start Settings =====\r\nRunMode=11\r\nDeviceCode=1\r\n"
      "COMPort=3\r\nBaudRate=19200\r\nAppliMode=ALL\r\nFileName=a.bkf\r\nLogFileName=" +
      settings.logFileName +
      "\r\nEchoBack=5\r\nFileScramble=0\r\nTOCommand=30000\r\nTODataPacket=30000\r\n"
      "TOMultiplier=7\r\n===== End Settings =====\r\n\r\n";
  EXPECT_EQ(testsupport::ReadFile(settings.logFileName), expected);
}

TEST(StatusMessage, CoversEveryCode) {
  EXPECT_STREQ(StatusMessage(0), "User aborted.");
  EXPECT_STREQ(StatusMessage(8), "Error opening COM3.");
  EXPECT_STREQ(StatusMessage(10), "Error opening COM port.");
  EXPECT_STREQ(StatusMessage(14), "Communications error!\nPlease try again.");
  EXPECT_STREQ(StatusMessage(16), "");
  EXPECT_STREQ(StatusMessage(17), "");
  EXPECT_STREQ(StatusMessage(18), "Error.");
  EXPECT_STREQ(StatusMessage(-1), "Error.");
}

}  // namespace
}  // namespace orgalink::link
