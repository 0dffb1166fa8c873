// SPDX-License-Identifier: GPL-3.0-or-later
// The names a numbered archive moves on to when its own is taken.

#include "store/numbered_name.h"

#include <gtest/gtest.h>

namespace orgalink::store {
namespace {

TEST(NumberedName, TheStemCountsOnBeforeTheExtension) {
  const struct {
    const char* path;
    const char* next;
  } rows[] = {
      {"/b/20261210.bkf", "/b/20261210-2.bkf"},
      {"/b/20261210-2.bkf", "/b/20261210-3.bkf"},
      {"20261210-9.bkf", "20261210-10.bkf"},
      // Only the file name has an extension, and only digits make a number.
      {"my.backups/20261210", "my.backups/20261210-2"},
      {"/b/day-one.bkf", "/b/day-one-2.bkf"},
      // A time of day is part of the name, not a number to count on.
      {"/b/before-restore-20261210-134501.bkf", "/b/before-restore-20261210-134501-2.bkf"},
      {"/b/before-restore-20261210-134501-2.bkf", "/b/before-restore-20261210-134501-3.bkf"},
  };
  for (const auto& row : rows) EXPECT_EQ(NextNumberedName(row.path), row.next) << row.path;
}

}  // namespace
}  // namespace orgalink::store
