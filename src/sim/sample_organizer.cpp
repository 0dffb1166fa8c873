// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sample_organizer.h"

#include <algorithm>
#include <array>

#include "sim/sample_records.h"
#include "store/appli_kind.h"

namespace orgalink::sim {

namespace {

// The PC takes at most 256,000 bytes of one application.
constexpr std::size_t kStreamBudget = 255000;
constexpr std::array<std::size_t, 6> kBoundaryMemos = {120, 241, 242, 745, 746, 1023};

template <typename Make>
void AddRecords(OrganizerContents& contents, std::uint8_t appli, int count,
                const TelephoneSort& sort, Make make) {
  for (int i = 0; i < count; ++i) contents.Add(appli, make(i), sort);
}

// Lengths of 100 to 1023 bytes, shortened near the end where the budget of
// the application's stream would not hold them.
void AddMemos(OrganizerContents& contents, int count, const TelephoneSort& sort) {
  SampleRandom random(3);
  std::size_t used = 0;
  for (int i = 0; i < count; ++i) {
    std::size_t length = count <= static_cast<int>(kBoundaryMemos.size())
                             ? kBoundaryMemos[static_cast<std::size_t>(i)]
                             : static_cast<std::size_t>(random.Between(100, 1023));
    const std::size_t fair = (kStreamBudget - used) / static_cast<std::size_t>(count - i) - 1;
    length = std::min(length, fair);
    used += length + 1;
    contents.Add(store::Memo, MemoRecord(i, length), sort);
  }
}

}  // namespace

OrganizerContents GenerateOrganizer(const OrganizerSize& size, const TelephoneSort& sort) {
  OrganizerContents contents;
  SampleRandom random(1);
  AddRecords(contents, store::Telephone, size.telephone, sort, TelephoneRecord);
  AddRecords(contents, store::Schedule, size.schedule, sort,
             [&random](int i) { return ScheduleRecord(i, random); });
  AddRecords(contents, store::Anniversary, size.anniversary, sort,
             [&random](int i) { return AnniversaryRecord(i, random); });
  AddRecords(contents, store::ToDo, size.todo, sort,
             [&random](int i) { return ToDoRecord(i, random); });
  AddMemos(contents, size.memo, sort);
  AddRecords(contents, store::Expense, size.expense, sort,
             [&random](int i) { return ExpenseRecord(i, random); });
  contents.Add(store::ExpenseCategory, CategoryTable(), sort);
  return contents;
}

}  // namespace orgalink::sim
