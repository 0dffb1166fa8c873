// SPDX-License-Identifier: GPL-3.0-or-later
// Status setter, settings conversions and the status texts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/comm_log.h"
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
    engine.SetStatus(LinkStatus{c.code}, c.port);
    EXPECT_EQ(engine.Status(), LinkStatus{c.expected}) << c.code << "," << c.port;
  }
}

TEST(SetStatus, AnOutOfRangeStatusBecomesPortErrorWhateverFollows) {
  LinkEngine engine;
  engine.SetStatus(LinkFileReadCancelled, -1);  // a value the setter itself never expects to hold
  engine.SetStatus(LinkOk, -1);
  EXPECT_EQ(engine.Status(), LinkPortError);
}

TEST(EngineSettings, BaudRateAcceptsOnlyItsListedTexts) {
  struct Case {
    const char* text;
    int rate;
  } cases[] = {{"9600", 9600},   {"19200", 19200},   {"38400", 38400},
               {"57600", 57600}, {"115200", 115200}, {"4800", 19200},
               {"", 19200},      {"9600 ", 19200},   {"09600", 19200}};
  for (const auto& c : cases) {
    LinkEngine engine;
    engine.Link().SetBaudRate("115200");
    engine.Link().SetBaudRate(c.text);
    EXPECT_EQ(engine.Link().BaudRate(), c.rate) << c.text;
  }
}

// No value from the file may make the quiet check wait forever or not at all.
TEST(EngineSettings, QuietWindowIsCutToOneSecondAtMost) {
  struct Case {
    long ms;
    std::uint32_t window;
  } cases[] = {{10, 10}, {16, 16}, {1000, 1000}, {5000, 1000}, {0, 1}, {-20, 1}};
  for (const auto& c : cases) {
    LinkEngine engine;
    engine.Link().SetQuietWindow(c.ms);
    EXPECT_EQ(engine.Link().QuietWindow(), c.window) << c.ms;
  }
}

TEST(EngineSettings, LogFileNameRemovesAnOldLogButNeverAFolder) {
  testsupport::TempDir dir;
  const std::string log = dir.File("comm.log"), folder = dir.File("logs");
  std::ofstream(log) << "old";
  std::filesystem::create_directory(folder);
  LinkEngine engine;
  EXPECT_EQ(engine.Log().SetFileName(log), 1);
  EXPECT_FALSE(std::filesystem::exists(log));
  EXPECT_EQ(engine.Log().SetFileName(log), 0);
  EXPECT_EQ(engine.Log().SetFileName(folder), 0);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
}  // namespace orgalink::link
