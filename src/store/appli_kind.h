// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace orgalink::store {

// The organizer's applications. The number is at once the application code
// on the link, the section key in an archive and the slot key in the store.
enum AppliKind : std::uint8_t {
  Schedule = 0,
  Anniversary = 1,
  ToDo = 2,
  Memo = 3,
  Expense = 4,
  Telephone = 5,
  ExpenseCategory = 6,
  AllApplis = 255,
};

// Order in which operations covering every application walk them.
inline constexpr std::array<std::uint8_t, 7> FullOrder = {
    Telephone, Schedule, Anniversary, ToDo, Memo, ExpenseCategory, Expense};

// Slots of the table that holds a whole archive.
inline constexpr int ArchiveSlots = 7;

// The text of the AppliMode setting that selects `kind`, which is also its
// name in messages; nullptr for unknown numbers.
const char* AppliModeName(std::uint8_t kind);
// Base of the dump file names of `kind`; nullptr for AllApplis and unknown
// numbers.
const char* DumpBaseName(std::uint8_t kind);
// Leading bytes of each record of `kind` that are binary fields and never
// pass through code conversion; 0 for numbers above 6.
int TextOffset(std::uint8_t kind);

}  // namespace orgalink::store
