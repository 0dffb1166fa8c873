// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer's state file and the committed sample it starts from.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/clock.h"
#include "sim/sample_organizer.h"
#include "sim/sim_organizer.h"
#include "sim/state_file.h"
#include "sim_run.h"
#include "store/appli_kind.h"
#include "support/temp_dir.h"

namespace orgalink::simtest {
namespace {

std::unique_ptr<sim::SimOrganizer> Open(const sim::SimOptions& options, std::string& error) {
  return sim::SimOrganizer::Create(options, platform::SystemClock::Instance(), error);
}

TEST(SimState, TheStateFileIsMadeFromTheSampleAndKeptUntilAResetIsAskedFor) {
  testsupport::TempDir dir;
  const std::string state = dir.File("organizer.bkf");
  sim::SimOptions options = TestOptions(state);
  std::string error;
  ASSERT_NE(Open(options, error), nullptr) << error;
  sim::OrganizerContents made;
  ASSERT_TRUE(sim::LoadOrganizerFile(state, sim::TelephoneSort::FromDirectory(DataDirectory()),
                                     made, error));
  EXPECT_EQ(made, Sample());

  ASSERT_TRUE(sim::SaveOrganizerFile(state, sim::OrganizerContents(), error));
  auto emptied = Open(options, error);
  ASSERT_NE(emptied, nullptr) << error;
  EXPECT_EQ(emptied->Contents(), sim::OrganizerContents());

  options.reset_to_sample = true;
  auto reset = Open(options, error);
  ASSERT_NE(reset, nullptr) << error;
  EXPECT_EQ(reset->Contents(), Sample());

  std::ofstream(state) << "not an archive";
  options.reset_to_sample = false;
  EXPECT_EQ(Open(options, error), nullptr);
  EXPECT_NE(error.find(state), std::string::npos) << error;
}

bool InOrganizerOrder(const std::vector<sim::Record>& records) {
  const sim::TelephoneSort sort = sim::TelephoneSort::FromDirectory(DataDirectory());
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (sort.Before(records[i], records[i - 1])) return false;
  }
  return true;
}

TEST(SimState, TheSampleFillsEveryApplicationAndCutsMemosEveryWay) {
  const sim::OrganizerContents sample = Sample();
  for (std::uint8_t appli = 0; appli < sim::kApplications; ++appli) {
    EXPECT_FALSE(sample.Records(appli).empty()) << "application " << int{appli};
  }
  std::vector<std::size_t> memo_sizes;
  for (const sim::Record& memo : sample.Records(store::Memo)) memo_sizes.push_back(memo.size());
  // One packet, exactly one full first packet, two packets, three, four, five.
  EXPECT_EQ(memo_sizes, (std::vector<std::size_t>{120, 241, 242, 745, 746, 1023}));
  EXPECT_TRUE(InOrganizerOrder(sample.Records(store::Telephone)));
}

TEST(SimState, TheReferenceOrganizerHasTheBenchmarksSizeWithinThePcsLimit) {
  const sim::OrganizerContents reference = sim::GenerateOrganizer(
      sim::kReferenceSize, sim::TelephoneSort::FromDirectory(DataDirectory()));
  EXPECT_EQ(reference.Records(store::Telephone).size(), 2000u);
  EXPECT_EQ(reference.Records(store::Schedule).size(), 500u);
  EXPECT_EQ(reference.Records(store::Memo).size(), 300u);
  for (std::uint8_t appli = 0; appli < sim::kApplications; ++appli) {
    EXPECT_FALSE(reference.Records(appli).empty()) << "application " << int{appli};
    EXPECT_LT(reference.StreamSize(appli), 256000u) << "application " << int{appli};
  }
  for (const sim::Record& memo : reference.Records(store::Memo)) {
    EXPECT_GE(memo.size(), 100u);
    EXPECT_LE(memo.size(), 1023u);
  }
  EXPECT_TRUE(InOrganizerOrder(reference.Records(store::Telephone)));
}

}  // namespace
}  // namespace orgalink::simtest
