// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer behind an in-process cable, as a port named "sim" gives it.

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "sim/in_process_organizer.h"
#include "sim_run.h"
#include "support/line_fixture.h"
#include "support/temp_dir.h"

namespace orgalink::simtest {
namespace {

// The organizer from its state file behind an in-process cable at 115200 baud.
class SimInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    cable = sim::InProcessOrganizer::Create(TestOptions(dir.File("organizer.bkf")), 115200, error,
                                            clock);
    ASSERT_NE(cable, nullptr) << error;
  }

  testsupport::TempDir dir;
  platform::VirtualClock clock;
  std::unique_ptr<sim::InProcessOrganizer> cable;
};

// Each opening of the PC's end presses PC-LINK, so communications follow one
// another without anyone pressing it.
TEST_F(SimInProcess, EveryOpeningOfThePortFindsTheOrganizerOffering) {
  const store::CharTables tables = Tables();
  std::thread pc([&] {
    platform::VirtualClock::Participant participant(clock);
    for (int run = 1; run <= 2; ++run) {
      SCOPED_TRACE(run);
      link::LinkEngine engine(clock);
      engine.Link().SetPortOpener(cable->Opener());
      ASSERT_TRUE(engine.Link().OpenPort(1));
      Applis fetched;
      EXPECT_EQ(PcBackup(engine, nullptr, {&tables.weights, &tables.incoming}, fetched),
                link::LinkOk);
      EXPECT_EQ(fetched, ApplisOf(Sample()));
    }
  });
  pc.join();
  EXPECT_EQ(cable->Organizer().Stats().sessions, 2);
}

// With echo on, the cable returns the PC's bytes, as the real one does, even
// while the organizer takes nothing in.
TEST_F(SimInProcess, TheCableEchoesWhateverTheOrganizerDoes) {
  cable->Organizer().Stop();
  auto port = cable->Line().Open(platform::VirtualLine::End::A);
  testsupport::FarEnd pc(*port, clock);
  const testsupport::Bytes sent = {0x7F, 0x15, 0x00, 0x00, 0x94};
  pc.Send(sent);
  EXPECT_EQ(pc.Receive(sent.size(), 1000), sent);
}

}  // namespace
}  // namespace orgalink::simtest
