// SPDX-License-Identifier: GPL-3.0-or-later
// Receiving a whole application, and the expense category table.

#include "transfer/get_all_records.h"

#include <gtest/gtest.h>

#include "support/line_fixture.h"
#include "support/transfer_peer.h"
#include "transfer/get_expense_category.h"
#include "transfer/telephone_order.h"

namespace orgalink::transfer {
namespace {

using link::LinkStatus;
using link::ProgressEvent;
using link::ProgressKind;
using link::ProgressScope;
using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::FarEnd;
using testsupport::InLog;
using testsupport::LineFixture;

constexpr int kCapacity = 4000;

struct Fetched {
  link::StepResult status{link::LinkStatus{-1}};
  Bytes buffer = Bytes(kCapacity, 0xEE);
  int total = -1;
  Bytes request;  // the command the organizer got
  Bytes Stream() const { return Bytes(buffer.begin(), buffer.begin() + std::max(total, 0)); }
};

// The organizer answers GET_ALL_RECORDS with `records` and FINISH_ALL_RECORDS.
void Fetch(LineFixture& f, Fetched& out, std::uint8_t code, const std::vector<Bytes>& records,
           int capacity = kCapacity) {
  f.engine.Link().SetEchoBack(false);
  out.status = f.RunOpen(
      [&] {
        return GetAllRecords(f.engine, &f.owner, std::span(out.buffer).first(capacity), out.total,
                             code, PcFull, f.run.telephone);
      },
      [&](FarEnd& far) {
        out.request = far.ReceiveCommand();
        if (testsupport::SendRecordsAsOrganizer(far, code, records)) far.SendCommand(13);
      });
}

TEST(GetAllRecords, BuildsTheRecordStreamFromTheOrganizersRecords) {
  LineFixture f;
  f.UseLog();
  Fetched got;
  Fetch(f, got, 5, {{0x41}, {0x42, 0x42}});
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.request, (Bytes{0x7F, 0x0C, 0x05, 0x00, 0x90}));
  EXPECT_EQ(got.total, 5);
  EXPECT_EQ(got.Stream(), (Bytes{0x41, 0xFF, 0x42, 0x42, 0xFF}));
  EXPECT_EQ(got.buffer[5], 0) << "the buffer is cleared before the first record";
  EXPECT_TRUE(testsupport::LinesInOrder(
      f.LogText(),
      {"\n========== Start Get All Record ==========\n\n", "---PC sends GET_ALL_RECORDS\n\n",
       "---PC receive FINISH_ALL_RECORDS\n\n", "========== End Get All Record (2)==========\n\n"}));
}

TEST(GetAllRecords, KeepsLongRecordsWhole) {
  LineFixture f;
  Fetched got;
  const Bytes longRecord = testsupport::PatternRecord(1000);
  Fetch(f, got, 0, {longRecord, {}, {0x31}});
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.Stream(), testsupport::RecordStream({longRecord, {}, {0x31}}));
}

TEST(GetAllRecords, AnApplicationWithoutRecordsGivesAnEmptyStream) {
  LineFixture f;
  f.UseLog();
  Fetched got;
  Fetch(f, got, 3, {});
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.total, 0);
  EXPECT_NE(f.LogText().find(InLog("========== End Get All Record (0)==========\n\n")),
            std::string::npos);
}

TEST(GetAllRecords, KeepsRoomForTheTerminatorOfTheLastRecord) {
  LineFixture f;
  Fetched got;
  // Three bytes of records need five bytes of stream.
  Fetch(f, got, 0, {{0x41}, {0x42}, {0x43}}, 5);
  EXPECT_EQ(got.status, link::LinkIoError);
  EXPECT_EQ(got.buffer[5], 0xEE) << "nothing written past the capacity";
}

TEST(GetAllRecords, NamesTheRecordIndexWhenAReceptionFails) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  got.status = f.RunOpen(
      [&] {
        return GetAllRecords(f.engine, &f.owner, std::span(got.buffer).first(kCapacity), got.total,
                             2, PcStep, f.run.telephone);
      },
      [&](FarEnd& far) {
        far.ReceiveCommand();
        testsupport::SendRecordsAsOrganizer(far, 2, {{0x41}, {0x42}});
        far.SendCommand(21);
      });
  EXPECT_EQ(got.status, link::LinkIoError);
  EXPECT_EQ(got.total, -1) << "only set on success";
  EXPECT_TRUE(testsupport::LinesInOrder(
      f.LogText(), {"!!!---PC receives NACK\n\n", "!!!Abort (Now RecordIdx=2)\n\n"}));
}

TEST(GetAllRecords, ReportsProgressAfterEveryRecord) {
  const struct {
    std::uint8_t code;
    ProgressScope scope;
  } cases[] = {{5, ProgressScope::Telephone}, {1, ProgressScope::Application}};
  for (const auto& c : cases) {
    LineFixture f;
    Fetched got;
    std::vector<Bytes> records(8, Bytes{0x01, 0x41});
    Fetch(f, got, c.code, records);
    ASSERT_EQ(got.status, link::LinkOk);
    std::vector<ProgressEvent> expected{{ProgressKind::Status, 100, ProgressScope::Application}};
    int received = 0;
    for (int position : {0, 0, 0, 1, 1, 1, 1, 2}) {
      expected.push_back({ProgressKind::Records, ++received, c.scope});
      expected.push_back({ProgressKind::Progress, position, c.scope});
    }
    expected.push_back({ProgressKind::Progress, 100, ProgressScope::Application});
    EXPECT_EQ(f.owner.reported(), expected) << int(c.code);
  }
}

TEST(GetAllRecords, RunsWithoutAnOwner) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  got.status = f.RunOpen(
      [&] {
        return GetAllRecords(f.engine, nullptr, std::span(got.buffer).first(kCapacity), got.total,
                             4, PcFull, f.run.telephone);
      },
      [&](FarEnd& far) {
        far.ReceiveCommand();
        testsupport::SendRecordsAsOrganizer(far, 4, {{0x41}});
        far.SendCommand(13);
      });
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.total, 2);
}

// --- the Telephone completeness checks of the base model --------------------

// A Telephone record whose sort key (from its second byte on) is `key`.
Bytes Tel(const std::string& key) {
  Bytes record(key.size() + 1, 0x01);
  std::copy(key.begin(), key.end(), record.begin() + 1);
  return record;
}

struct TelephoneCase {
  const char* name;
  int variant;
  int minimum;
  std::vector<Bytes> records;
  int status;  // a LinkStatus
  const char* line;
};

class TelephoneCompleteness : public ::testing::TestWithParam<TelephoneCase> {};

TEST_P(TelephoneCompleteness, RefusesTransfersThatLookCutShort) {
  const TelephoneCase& c = GetParam();
  ResetPreviousTelephoneKey();
  // Weights in byte order; the organizer's 0x80 reads as 'A' on the computer.
  store::SortTable weights{};
  for (int i = 0; i < 256; ++i) weights[i] = static_cast<std::uint8_t>(i);
  store::CodeTable incoming{};
  for (int i = 0; i < 128; ++i) incoming[i] = static_cast<std::uint8_t>(0x7F + i);
  incoming[0x80 - 0x7F] = 'A';
  LineFixture f;
  f.UseLog();
  f.engine.SetModelVariant(c.variant);
  f.run.telephone.minRecords = c.minimum;
  f.run.telephone.weights = &weights;
  f.run.telephone.incoming = &incoming;
  Fetched got;
  Fetch(f, got, 5, c.records);
  EXPECT_EQ(got.status, LinkStatus{c.status});
  EXPECT_EQ(f.engine.Status(), LinkStatus{c.status});
  if (c.line != nullptr) {
    EXPECT_NE(f.LogText().find(InLog(c.line)), std::string::npos) << f.LogText();
  }
}

const std::string k49(49, 'K');

INSTANTIATE_TEST_SUITE_P(
    Cases, TelephoneCompleteness,
    ::testing::Values(
        TelephoneCase{"InOrder", 0, 1, {Tel("Adam"), Tel("Bert"), Tel("Bert")}, 16, nullptr},
        TelephoneCase{
            "OutOfOrder", 0, 1, {Tel("Bert"), Tel("Adam")}, 14, "!!!Receive Not Perfect1\n\n"},
        TelephoneCase{"PrefixAfterLongerKey",
                      0,
                      1,
                      {Tel("Adams"), Tel("Adam")},
                      14,
                      "!!!Receive Not Perfect1\n\n"},
        TelephoneCase{
            "KeyEndsAtZeroByte", 0, 1, {Tel(std::string("B\0Z", 3)), Tel("B")}, 16, nullptr},
        TelephoneCase{"KeyEndsAfter49Bytes", 0, 1, {Tel(k49 + "Z"), Tel(k49 + "A")}, 16, nullptr},
        TelephoneCase{"KeysTranslatedFirst",
                      0,
                      1,
                      {Tel("Y"), Tel("\x80")},
                      14,
                      "!!!Receive Not Perfect1\n\n"},
        TelephoneCase{
            "OneRecordAtMinimumOne", 0, 1, {Tel("Adam")}, 14, "!!!Receive Not Perfect2\n\n"},
        TelephoneCase{"ExactlyTheMinimum",
                      0,
                      3,
                      {Tel("A"), Tel("B"), Tel("C")},
                      14,
                      "!!!Receive Not Perfect2\n\n"},
        TelephoneCase{"OneAboveTheMinimum", 0, 2, {Tel("A"), Tel("B"), Tel("C")}, 16, nullptr},
        TelephoneCase{"NoRecordsPass", 0, 1, {}, 16, nullptr},
        TelephoneCase{"MUnchecked", 1, 1, {Tel("Bert"), Tel("Adam")}, 16, nullptr},
        TelephoneCase{"EPlusUnchecked", 2, 1, {Tel("Bert")}, 16, nullptr},
        TelephoneCase{"NoVariantYetUnchecked", -1, 1, {Tel("Bert"), Tel("Adam")}, 16, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The cause of a refused count says whether the organizer seems to have
// stopped or a raised BKTelRecordsMin refused what may be every record.
TEST(TelephoneCompleteness, CauseNamesTheMinimumWhenItWasRaised) {
  const struct {
    int minimum;
    int records;
    std::string cause;
  } cases[] = {
      {1, 1, "only 1 Telephone records arrived: the organizer stopped early"},
      {30, 25,
       "25 Telephone records arrived, and the Telephone minimum BKTelRecordsMin (--tel-min) is "
       "30: a transfer counts as complete only with more than 30"},
      {3, 3, "3 Telephone records arrived, and the Telephone minimum BKTelRecordsMin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.minimum);
    ResetPreviousTelephoneKey();
    store::SortTable weights{};
    store::CodeTable incoming{};
    LineFixture f;
    f.engine.SetModelVariant(0);
    f.run.telephone.minRecords = c.minimum;
    f.run.telephone.weights = &weights;
    f.run.telephone.incoming = &incoming;
    std::vector<Bytes> records;
    for (int i = 0; i < c.records; ++i) records.push_back(Tel("Adam"));
    Fetched got;
    Fetch(f, got, 5, records);
    EXPECT_EQ(got.status, link::LinkReceiveIncomplete);
    EXPECT_EQ(got.status.cause.Text().rfind(c.cause, 0), 0u) << got.status.cause.Text();
  }
}

// The previous key outlives a receive, but the first record of the next one
// is never held against it.
TEST(TelephoneCompleteness, StartsAfreshWithEachReceive) {
  ResetPreviousTelephoneKey();
  store::SortTable weights{};
  for (int i = 0; i < 256; ++i) weights[i] = static_cast<std::uint8_t>(i);
  LineFixture f;
  f.engine.SetModelVariant(0);
  f.run.telephone.weights = &weights;
  for (const auto& records : {std::vector<Bytes>{Tel("Yann"), Tel("Zoe")},
                              std::vector<Bytes>{Tel("Adam"), Tel("Bert")}}) {
    Fetched got;
    Fetch(f, got, 5, records);
    EXPECT_EQ(got.status, link::LinkOk);
  }
}

TEST(TelephoneCompleteness, OnlyAppliesToTelephone) {
  LineFixture f;
  f.engine.SetModelVariant(0);
  Fetched got;
  Fetch(f, got, 1, {Tel("Bert"), Tel("Adam")});
  EXPECT_EQ(got.status, link::LinkOk);
}

// Without "sort.dat" every byte weighs the same and upper codes read as
// spaces: only the key lengths tell the order.
TEST(TelephoneCompleteness, UsesTheDefaultTablesWhenNoneAreSet) {
  const struct {
    std::vector<Bytes> records;
    int status;  // a LinkStatus
  } cases[] = {
      {{Tel("ab"), Tel("zz"), Tel("\x90\x91")}, 16},
      {{Tel("abc"), Tel("zz")}, 14},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.engine.SetModelVariant(0);
    Fetched got;
    Fetch(f, got, 5, c.records);
    EXPECT_EQ(got.status, LinkStatus{c.status});
  }
}

// --- the organizer's side ------------------------------------------------------

TEST(GetAllRecords, OnTheOrganizersSideTakesRecordsUntilEndCommunication) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  const Bytes second = testsupport::PatternRecord(260);
  const auto packets = testsupport::RecordPackets(2, second);
  std::vector<Bytes> answers;
  got.status = f.RunOpen(
      [&] {
        return GetAllRecords(f.engine, &f.owner, std::span(got.buffer).first(kCapacity), got.total,
                             2, HandheldSide, f.run.telephone);
      },
      [&](FarEnd& far) {
        // The command loop has taken the first SEND_1_RECORD already.
        answers.push_back(far.ReceiveCommand());
        far.Send(testsupport::DataPacketFrame(2, 0, 1, {0x41}));
        answers.push_back(far.ReceiveCommand());
        for (const Bytes& packet : packets) {
          far.SendCommand(10);
          answers.push_back(far.ReceiveCommand());
          far.Send(packet);
          answers.push_back(far.ReceiveCommand());
        }
        far.SendCommand(9);
      });
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.Stream(), testsupport::RecordStream({{0x41}, second}));
  EXPECT_EQ(answers, std::vector<Bytes>(6, CommandFrame(6)));
  const std::string log = f.LogText();
  EXPECT_TRUE(testsupport::LinesInOrder(
      log,
      {"---HDD sends ACK\n\n", "---PC receives DATA\n\n", "---HDD receives CMD_SEND_1_RECORD\n\n",
       "---HDD receives SEND_1_RECORD\n\n", "---HDD receives END_COMMUNICATION\n\n"}));
  EXPECT_EQ(log.find("Get All Record"), std::string::npos) << "the PC's brackets only";
}

TEST(GetAllRecords, OnTheOrganizersSideRefusesAnotherCommandBetweenRecords) {
  LineFixture f;
  f.UseLog();
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  got.status = f.RunOpen(
      [&] {
        return GetAllRecords(f.engine, &f.owner, std::span(got.buffer).first(kCapacity), got.total,
                             3, HandheldSide, f.run.telephone);
      },
      [&](FarEnd& far) {
        far.ReceiveCommand();
        far.Send(testsupport::DataPacketFrame(3, 0, 1, {0x41}));
        far.ReceiveCommand();
        far.SendCommand(15);
      });
  EXPECT_EQ(got.status, link::LinkIoError);
  EXPECT_NE(f.LogText().find(InLog("---!!!Receive Another Command\n\n")), std::string::npos);
}

// --- the expense category table ---------------------------------------------------

TEST(GetExpenseCategory, FetchesTheTableWithoutAcknowledgingIt) {
  for (int size : {1, 40, 252}) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    const Bytes table = testsupport::PatternRecord(size, 0x20);
    Fetched got;
    got.status = f.RunOpen(
        [&] {
          return GetAllRecords(f.engine, &f.owner, std::span(got.buffer).first(kCapacity),
                               got.total, 6, PcFull, f.run.telephone);
        },
        [&](FarEnd& far) {
          got.request = far.ReceiveCommand();
          far.Send(testsupport::DataPacketFrame(6, 0, size, table));
        });
    EXPECT_EQ(got.status, link::LinkOk) << size;
    EXPECT_EQ(got.request, (Bytes{0x7F, 0x0E, 0x00, 0x00, 0x8D}));
    EXPECT_EQ(got.total, size + 1);
    EXPECT_EQ(got.Stream(), testsupport::RecordStream({table}));
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 5u) << "no ACK";
    EXPECT_TRUE(f.owner.reported().empty());
    EXPECT_TRUE(testsupport::LinesInOrder(
        f.LogText(), {"\n========== Start Get Expense Category ==========\n\n",
                      "---PC sends GET_EXPENSE_CATEGORY\n\n", "---PC receives DATA\n\n",
                      "========== End Get Expense Category==========\n\n"}));
  }
}

// A command in place of the table must not end up stored as the table. An
// organizer without categories answers FINISH_ALL_RECORDS; a PC never does.
TEST(GetExpenseCategory, NeverStoresACommandAsTheTable) {
  const struct {
    std::uint8_t command;
    TransferRole role;
    LinkStatus status;
    int total;
    const char* line;
  } cases[] = {
      {21, PcStep, link::LinkIoError, -1, "!!!---PC receives NACK\n\n"},
      {13, PcStep, link::LinkOk, 0, "---PC receive FINISH_ALL_RECORDS\n\n"},
      {13, HandheldSide, link::LinkIoError, -1, "!!!NOT Packet Data\n\n"},
  };
  for (const auto& c : cases) {
    LineFixture f;
    f.UseLog();
    f.engine.Link().SetEchoBack(false);
    Fetched got;
    got.status = f.RunOpen(
        [&] {
          return GetExpenseCategory(f.engine, &f.owner, std::span(got.buffer).first(kCapacity),
                                    got.total, c.role);
        },
        [&](FarEnd& far) {
          far.ReceiveCommand();
          far.SendCommand(c.command);
        });
    EXPECT_EQ(got.status, c.status) << int(c.command) << " " << int(c.role);
    EXPECT_EQ(f.engine.Status(), c.status) << int(c.command) << " " << int(c.role);
    EXPECT_EQ(got.total, c.total) << int(c.command) << " " << int(c.role);
    EXPECT_EQ(got.buffer[0], 0) << "nothing stored";
    EXPECT_NE(f.LogText().find(InLog(c.line)), std::string::npos) << f.LogText();
    // Nothing answers the command: only the opening command or ACK went out.
    EXPECT_EQ(f.line.BytesWritten(platform::VirtualLine::End::A), 5u);
  }
}

TEST(GetExpenseCategory, KeepsRoomForTheTerminator) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  got.status = f.RunOpen(
      [&] {
        return GetExpenseCategory(f.engine, &f.owner, std::span(got.buffer).first(3), got.total,
                                  PcStep);
      },
      [&](FarEnd& far) {
        far.ReceiveCommand();
        far.Send(testsupport::DataPacketFrame(6, 0, 3, {0x41, 0x42, 0x43}));
      });
  EXPECT_EQ(got.status, link::LinkIoError);
  EXPECT_EQ(got.buffer[3], 0xEE);
}

TEST(GetExpenseCategory, OnTheOrganizersSideAcknowledgesBeforeAndAfter) {
  LineFixture f;
  f.engine.Link().SetEchoBack(false);
  Fetched got;
  std::vector<Bytes> answers;
  got.status = f.RunOpen(
      [&] {
        return GetExpenseCategory(f.engine, &f.owner, std::span(got.buffer).first(kCapacity),
                                  got.total, HandheldSide);
      },
      [&](FarEnd& far) {
        answers.push_back(far.ReceiveCommand());
        far.Send(testsupport::DataPacketFrame(6, 0, 2, {0x41, 0x42}));
        answers.push_back(far.ReceiveCommand());
      });
  EXPECT_EQ(got.status, link::LinkOk);
  EXPECT_EQ(got.Stream(), (Bytes{0x41, 0x42, 0xFF}));
  EXPECT_EQ(answers, std::vector<Bytes>(2, CommandFrame(6)));
}

}  // namespace
}  // namespace orgalink::transfer
