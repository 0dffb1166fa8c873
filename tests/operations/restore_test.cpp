// SPDX-License-Identifier: GPL-3.0-or-later
// The restore against a scripted organizer: what reaches the organizer, in
// which order, and that a file that cannot be restored leaves it untouched.

#include "operations/restore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "operations/run_communication.h"
#include "store/appli_kind.h"
#include "support/organizer_script.h"
#include "support/transfer_peer.h"

namespace orgalink::operations {
namespace {

using namespace testsupport;
using link::LinkStatus;
using BoxKind = testsupport::ScriptedOwner::BoxKind;
using testsupport::LinesInOrder;

const Bytes kMemo1 = Text("first memo");
const Bytes kMemo2 = Text("second");
const Bytes kLong = Text("a long telephone entry ", 300);  // two packets
const Bytes kNackThenEnd = {0x7f, 0x15, 0x00, 0x00, 0x94, 0x7f, 0x09, 0x00, 0x00, 0x88};

std::string Sent(std::uint8_t code, const Bytes& contents) {
  return "R" + std::to_string(code) + ":" + Hex(contents);
}

class RestoreTest : public ::testing::Test {
 protected:
  RestoreTest() {
    f.engine.Link().SetEchoBack(false);
    f.UseLog();
    f.run.appliKind = store::AllApplis;
    f.run.fileName = archive;
  }

  void WriteArchive(const Bytes& bytes) {
    std::FILE* file = std::fopen(archive.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }

  link::StepResult Run(std::uint8_t mode, bool negotiate = true) {
    link::StepResult status{link::LinkStatus{-1}};
    f.Run([&] { status = RunCommunication(f.run, owner.Front(), settings::RunMode{mode}); },
          [&](FarEnd& far) { exchange = PlayRestore(far, negotiate); });
    return status;
  }

  // For runs that must end before the link is touched: all the organizer
  // may get is the driver's closing NACK and END_COMMUNICATION.
  link::StepResult RunRefused(std::uint8_t mode) {
    link::StepResult status{link::LinkStatus{-1}};
    f.Run([&] { status = RunCommunication(f.run, owner.Front(), settings::RunMode{mode}); },
          [&](FarEnd& far) {
            heard = far.Receive(kNackThenEnd.size());
            const Bytes more = far.Receive(1, 5000);
            heard.insert(heard.end(), more.begin(), more.end());
          });
    return status;
  }

  testsupport::LineFixture f;
  ScriptedOwner owner;
  std::string archive = f.dir.File("backup.bkf");
  std::vector<std::string> exchange;
  Bytes heard;
};

// Six deletions before any record; then Memo, the only application held,
// while the other six are passed over.
TEST_F(RestoreTest, MemoOnlyArchive) {
  WriteArchive(PlainArchive({{store::Memo, {kMemo1, kMemo2}}}));
  EXPECT_EQ(Run(2), link::LinkOk);
  EXPECT_EQ(exchange, (std::vector<std::string>{"D5", "D0", "D1", "D2", "D3", "D4", Sent(3, kMemo1),
                                                Sent(3, kMemo2), "E"}));
  EXPECT_EQ(owner.milestones(), (std::vector<std::string>{"S100", "P4", "P10", "P50", "P60", "P70",
                                                          "P80", "P90", "P100"}));
  const std::string log = f.LogText();
  EXPECT_EQ(testsupport::CountOf(log, "---Pass (This appli is NO data)\r\n\r\n"), 6);
  EXPECT_EQ(testsupport::CountOf(log, "---PC sends DELETE_ALL_RECORDS\r\n\r\n"), 6);
  EXPECT_TRUE(LinesInOrder(
      log,
      {"<<====Read File (" + archive + ")\n\n", "========== End Negotiation ==========\n\n",
       "---PC sends DELETE_ALL_RECORDS\n\n", "---PC receives ACK\n\n",
       "********** Restore 1 Appli **********\n\n", "********** End Restore 1 Appli **********\n\n",
       "********** End Restore **********\n\n", "---PC sends END_COMMUNICATION\n\n",
       "RestoreTime=1sec\n\n", "##### END COMMUNICATION #####\n\n"}))
      << log;
  ASSERT_EQ(owner.boxes().size(), 1u);
  EXPECT_EQ(owner.boxes()[0].text, "SUCCESS Restore\nTime:1sec");
  EXPECT_EQ(owner.boxes()[0].caption, "Restore");
  EXPECT_FALSE(f.store.HasTable());
}

// Whatever the order of the sections, the applications go out in FullOrder,
// the expense category with its own command.
TEST_F(RestoreTest, EveryApplicationInFullOrder) {
  WriteArchive(InvertedArchive({{store::Expense, {Text("lunch")}},
                                {store::ExpenseCategory, {Text("Food,Rent")}},
                                {store::Memo, {kMemo1}},
                                {store::ToDo, {Text("call")}},
                                {store::Anniversary, {Text("wedding")}},
                                {store::Schedule, {}},
                                {store::Telephone, {Text("Ada"), kLong}}}));
  EXPECT_EQ(Run(2), link::LinkOk);
  const Bytes longFirst(kLong.begin(), kLong.begin() + 241);
  const Bytes longRest(kLong.begin() + 241, kLong.end());
  EXPECT_EQ(exchange,
            (std::vector<std::string>{
                "D5", "D0", "D1", "D2", "D3", "D4", Sent(5, Text("Ada")), Sent(5, longFirst),
                Sent(5, longRest), Sent(1, Text("wedding")), Sent(2, Text("call")), Sent(3, kMemo1),
                Sent(6, Text("Food,Rent")), Sent(4, Text("lunch")), "E"}));
  EXPECT_EQ(testsupport::CountOf(f.LogText(), "---Pass (This appli is NO data)"), 1);
}

struct IncompatibleCase {
  const char* name;
  Bytes file;
};

class IncompatibleArchive : public RestoreTest,
                            public ::testing::WithParamInterface<IncompatibleCase> {};

TEST_P(IncompatibleArchive, Gives13WithNothingSent) {
  WriteArchive(GetParam().file);
  EXPECT_EQ(RunRefused(2), link::LinkFileIncompatible);
  EXPECT_EQ(heard, kNackThenEnd);
  EXPECT_TRUE(owner.boxes().empty());
  const std::string log = f.LogText();
  EXPECT_NE(log.find(testsupport::InLog("!!! File(" + archive + ") is NOT compatible \n\n")),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("Negotiation"), std::string::npos);
  EXPECT_FALSE(f.store.HasTable());
}

Bytes WithHeaderByte(std::size_t at, std::uint8_t value) {
  Bytes file = PlainArchive({{store::Memo, {kMemo1}}});
  file[at] = value;
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncompatibleArchive,
    ::testing::Values(
        IncompatibleCase{"BadMagic", WithHeaderByte(5, '2')},
        IncompatibleCase{"OtherDevice", WithHeaderByte(6, 0x01)},
        IncompatibleCase{"RecordPastTheEnd", WithHeaderByte(11, 0x05)},  // Memo claims 5
        IncompatibleCase{"TooManySections", WithHeaderByte(8, 8)},
        IncompatibleCase{"Duplicate", PlainArchive({{store::Memo, {}}, {store::Memo, {kMemo1}}})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RestoreTest, UnreadableArchiveRetryThenCancelGives17) {
  owner.SetAnswers({true, false});
  EXPECT_EQ(RunRefused(2), link::LinkFileReadCancelled);
  EXPECT_EQ(heard, kNackThenEnd);
  const auto boxes = owner.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.text, std::strerror(ENOENT));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.kind, BoxKind::RetryOrCancel);
  }
  EXPECT_NE(f.LogText().find(testsupport::InLog("!!! File(" + archive + ") Read Err\n\n")),
            std::string::npos);
}

struct SingleCase {
  const char* name;
  std::uint8_t mode;
  int appliKind;
  bool withFile;
  std::vector<std::string> exchange;
};

class SingleRestore : public RestoreTest, public ::testing::WithParamInterface<SingleCase> {};

// One application, or none at all: what reaches the organizer, with no
// milestones of the operation's own for a single application.
TEST_P(SingleRestore, SendsWhatTheRunAddresses) {
  const SingleCase& c = GetParam();
  WriteArchive(PlainArchive({{store::Memo, {kMemo1}}, {store::ExpenseCategory, {Text("Food")}}}));
  f.run.appliKind = c.appliKind;
  if (!c.withFile) f.run.fileName.clear();
  EXPECT_EQ(Run(c.mode, c.mode != 8), link::LinkOk);
  EXPECT_EQ(exchange, c.exchange);
  if (c.appliKind != store::AllApplis) {
    EXPECT_TRUE(owner.milestones().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleRestore,
    ::testing::Values(SingleCase{"MemoAsAStep", 8, store::Memo, true, {Sent(3, kMemo1)}},
                      SingleCase{"Memo", 2, store::Memo, true, {"D3", Sent(3, kMemo1), "E"}},
                      SingleCase{"ExpenseCategoryHasNoDeletion",
                                 2,
                                 store::ExpenseCategory,
                                 true,
                                 {Sent(6, Text("Food")), "E"}},
                      SingleCase{"WithoutAFileOnlyEmpties",
                                 2,
                                 store::AllApplis,
                                 false,
                                 {"D5", "D0", "D1", "D2", "D3", "D4", "E"}}),
    [](const auto& info) { return std::string(info.param.name); });

// RunMode 9 sends the current application from the store in a
// communication of its own; its success box needs a log.
TEST_F(RestoreTest, SendOneApplicationMode) {
  for (const bool withLog : {true, false}) {
    testsupport::LineFixture g;
    g.engine.Link().SetEchoBack(false);
    if (withLog) g.UseLog();
    ASSERT_EQ(g.store.GetAppliBuf(store::ArchiveSlots), store::StoreOk);
    const Bytes stream = testsupport::RecordStream({kMemo1, kMemo2});
    ASSERT_EQ(g.store.AddRecords(store::Memo, stream), store::StoreOk);
    SetAppliMode(g.run, "Memo");
    ScriptedOwner boxes;
    link::StepResult status{link::LinkStatus{-1}};
    g.Run([&] { status = RunCommunication(g.run, boxes.Front(), settings::RunMode::SendOneAppli); },
          [&](FarEnd& far) { exchange = PlayRestore(far); });
    EXPECT_EQ(status, link::LinkOk);
    EXPECT_EQ(exchange, (std::vector<std::string>{Sent(3, kMemo1), Sent(3, kMemo2), "E"}));
    EXPECT_EQ(boxes.shown(), withLog ? std::vector<std::string>{"SUCCESS Send 1 Record"}
                                     : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace orgalink::operations
