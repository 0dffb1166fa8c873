// SPDX-License-Identifier: GPL-3.0-or-later
// Which application a whole backup or restore is at, by its bar's band.

#include "ui/progress_application.h"

#include <gtest/gtest.h>

#include <string>

namespace orgalink::ui {
namespace {

TEST(ApplicationAtPosition, EachBandNamesItsApplication) {
  const struct Row {
    int runMode;
    int position;
    const char* name;  // nullptr: none
  } rows[] = {
      {1, 0, nullptr},      {2, 4, nullptr},     {1, 10, "Telephone"},   {2, 46, "Telephone"},
      {1, 49, "Telephone"}, {1, 50, "Schedule"}, {2, 61, "Anniversary"}, {1, 79, "To Do"},
      {2, 80, "Memo"},      {1, 90, "Expense"},  {2, 99, "Expense"},     {1, 100, nullptr},
      {5, 50, nullptr},     {3, 60, nullptr},    {0, 10, nullptr},
  };
  for (const Row& r : rows) {
    const char* name = ApplicationAtPosition(r.runMode, r.position);
    EXPECT_EQ(name == nullptr ? "(none)" : std::string(name), r.name ? r.name : "(none)")
        << "RunMode " << r.runMode << " at " << r.position;
  }
}

}  // namespace
}  // namespace orgalink::ui
