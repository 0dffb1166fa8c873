// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer's opening as the product's negotiation sees it.

#include <gtest/gtest.h>

#include "link/negotiation.h"
#include "sim_run.h"

namespace orgalink::simtest {
namespace {

using sim::SimVariant;

TEST(SimNegotiation, EachVariantIsToldApartAndAForeignDeviceCodeIsRefused) {
  struct Case {
    SimVariant variant;
    std::uint8_t device_code_high;
    link::LinkStatus status;
    int model_variant;
    bool probe_times_out;
  };
  const Case cases[] = {
      {SimVariant::E, 2, link::LinkOk, link::VariantE, true},
      {SimVariant::EPlus, 2, link::LinkOk, link::VariantEPlus, true},
      {SimVariant::M, 2, link::LinkOk, link::VariantM, false},
      {SimVariant::M, 1, link::LinkIoError, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(sim::VariantName(c.variant)) + " with device code " +
                 std::to_string(c.device_code_high));
    sim::SimOptions options;
    options.variant = c.variant;
    options.device_code_high = c.device_code_high;
    SimRun run(options);
    std::uint32_t elapsed = 0;
    EXPECT_EQ(run.RunPc([&] { return PcNegotiate(run.f.engine, &run.f.owner); }, &elapsed),
              c.status);
    EXPECT_EQ(run.f.engine.ModelVariant(), c.model_variant);
    // Only the M answers GET_DEVICE_INFORMATION; the others leave the PC's
    // one-second probe to run out.
    EXPECT_EQ(elapsed >= 1000, c.probe_times_out) << elapsed << " ms";
    run.organizer->WaitUntilIdle();
    const sim::SimStats stats = run.organizer->Stats();
    EXPECT_EQ(stats.sessions, 1);
    EXPECT_EQ(stats.last_end,
              c.status == link::LinkOk ? sim::SessionEnd::EndCommunication : sim::SessionEnd::Nack);
  }
}

TEST(SimNegotiation, AfterASessionTheOrganizerOffersAgainWhenAskedTo) {
  sim::SimOptions options;
  options.relink = true;
  SimRun run(options);
  Applis fetched;
  const link::StepResult status = run.RunPc([&] {
    link::StepResult first = PcNegotiate(run.f.engine, &run.f.owner);
    return first == link::LinkOk ? PcBackup(run.f.engine, &run.f.owner, run.check, fetched) : first;
  });
  EXPECT_EQ(status, link::LinkOk);
  EXPECT_EQ(fetched, ApplisOf(Sample()));
  EXPECT_EQ(run.organizer->Stats().sessions, 2);
}

TEST(SimNegotiation, WithoutAPressOfPcLinkNothingIsOffered) {
  SimRun run(sim::SimOptions{});
  const link::StepResult status =
      run.f.RunOpen([&] { return link::Negotiation(run.f.engine, &run.f.owner, 5000, -1); });
  EXPECT_EQ(status, link::LinkTimeout);
  EXPECT_EQ(run.organizer->Stats().sessions, 0);
}

}  // namespace
}  // namespace orgalink::simtest
