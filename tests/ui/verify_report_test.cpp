// SPDX-License-Identifier: GPL-3.0-or-later
// The names and texts around a verified restore.

#include "ui/verify_report.h"

#include <gtest/gtest.h>

#include "store/appli_kind.h"

namespace orgalink::ui {
namespace {

TEST(VerifyReport, TheReadBackLogsBesideTheRestoresLog) {
  const struct {
    const char* restore;
    const char* readBack;
  } rows[] = {
      {"comm.log", "comm-verify.log"},
      {"/var/log/orgalink/comm.log", "/var/log/orgalink/comm-verify.log"},
      {"logs.d/comm", "logs.d/comm-verify"},
  };
  for (const auto& row : rows) EXPECT_EQ(ReadBackLogName(row.restore), row.readBack);
}

TEST(VerifyReport, AnOrderOnlyDifferenceIsNamed) {
  const store::RecordList a = {{'x'}, {'y'}};
  const store::RecordList b = {{'y'}, {'x'}};
  const auto compared = {store::CompareRecords(store::Memo, a, b, false),
                         store::CompareRecords(store::Telephone, a, b, true)};
  EXPECT_EQ(VerifyReport(compared),
            "Memo differs: 2 records in the archive, 2 on the organizer; the same records in "
            "another order\nVerify failed: the organizer does not hold what the archive holds.");
}

}  // namespace
}  // namespace orgalink::ui
