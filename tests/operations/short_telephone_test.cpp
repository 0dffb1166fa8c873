// SPDX-License-Identifier: GPL-3.0-or-later
// Before a restore deletes anything, its safety copy asks the base model
// for Telephone a second time when the first answer looks like an early
// stop, and takes the records when both answers are the same or the second
// is long enough to be whole.

#include <gtest/gtest.h>

#include "operations/receive_appli.h"
#include "store/appli_kind.h"
#include "support/line_fixture.h"
#include "support/transfer_peer.h"
#include "transfer/telephone_order.h"

namespace orgalink::operations {
namespace {

using testsupport::Bytes;
using testsupport::FarEnd;

const Bytes kAda = {0x01, 'A', 'd', 'a'};
const Bytes kBob = {0x02, 'B', 'o', 'b'};

struct SecondAnswer {
  const char* name;
  std::vector<Bytes> records;
  link::LinkStatus expected;
  bool stored;
};

class ShortTelephone : public testing::TestWithParam<SecondAnswer> {};

TEST_P(ShortTelephone, IsTakenWhenTheSecondAnswerBearsItOut) {
  const SecondAnswer& answer = GetParam();
  transfer::ResetPreviousTelephoneKey();
  testsupport::LineFixture f;
  store::SortTable weights{};
  for (int b = 0; b < 256; ++b) weights[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
  store::AppliStore store;
  store.GetAppliBuf(store::ArchiveSlots);
  f.engine.Link().SetEchoBack(false);
  f.engine.SetModelVariant(0);
  f.run.store = &store;
  f.run.telephone.weights = &weights;
  f.run.telephone.minRecords = 1;
  f.run.appliKind = store::Telephone;
  f.run.confirmShortTelephone = true;
  const link::StepResult result = f.RunOpen(
      [&] { return ReceiveAppli(f.run, nullptr, transfer::PcFull); },
      [&](FarEnd& far) {
        for (const std::vector<Bytes>& records : {std::vector<Bytes>{kAda}, answer.records}) {
          EXPECT_EQ(far.ReceiveCommand(),
                    testsupport::CommandFrame(link::GET_ALL_RECORDS, store::Telephone, 0));
          testsupport::SendRecordsAsOrganizer(far, store::Telephone, records);
          far.SendCommand(link::FINISH_ALL_RECORDS);
        }
      });
  EXPECT_EQ(result.status, answer.expected) << result;
  EXPECT_EQ(store.FindSlot(store::Telephone) >= 0 ? store.RecordCount(store::Telephone) : 0,
            answer.stored ? static_cast<int>(answer.records.size()) : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ShortTelephone,
    testing::Values(SecondAnswer{"TheSame", {kAda}, link::LinkOk, true},
                    SecondAnswer{"AnotherRecord", {kBob}, link::LinkReceiveIncomplete, false},
                    SecondAnswer{"AWholeOne", {kAda, kBob}, link::LinkOk, true}),
    [](const testing::TestParamInfo<SecondAnswer>& info) { return info.param.name; });

}  // namespace
}  // namespace orgalink::operations
