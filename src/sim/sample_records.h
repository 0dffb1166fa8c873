// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/organizer_contents.h"

namespace orgalink::sim {

// A small deterministic generator, so that generated organizers never
// change between runs.
class SampleRandom {
 public:
  explicit SampleRandom(std::uint32_t seed) : state_(seed) {}
  // A number in [low, high].
  int Between(int low, int high);

 private:
  std::uint32_t state_;
};

// One record of each application, number `index`, in the organizer's codes
// and never holding 0xFF.
Record TelephoneRecord(int index);
Record ScheduleRecord(int index, SampleRandom& random);
Record AnniversaryRecord(int index, SampleRandom& random);
Record ToDoRecord(int index, SampleRandom& random);
Record ExpenseRecord(int index, SampleRandom& random);
Record MemoRecord(int index, std::size_t length);
Record CategoryTable();

}  // namespace orgalink::sim
