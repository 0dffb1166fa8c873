// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/appli_kind.h"

namespace orgalink::store {

namespace {

struct KindInfo {
  const char* mode_name;
  const char* dump_base;
  int text_offset;
};

constexpr std::array<KindInfo, 7> kKinds = {{
    {"Schedule", "schedule", 14},
    {"Anniversary", "anniversary", 14},
    {"To Do", "todo", 5},
    {"Memo", "memo", 0},
    {"Expense", "expense", 33},
    {"Telephone", "telephone", 1},
    {"Expense Category", "expense_category", 0},
}};

}  // namespace

const char* AppliModeName(std::uint8_t kind) {
  if (kind == AllApplis) return "ALL";
  return kind < kKinds.size() ? kKinds[kind].mode_name : nullptr;
}

const char* DumpBaseName(std::uint8_t kind) {
  return kind < kKinds.size() ? kKinds[kind].dump_base : nullptr;
}

int TextOffset(std::uint8_t kind) {
  return kind < kKinds.size() ? kKinds[kind].text_offset : 0;
}

}  // namespace orgalink::store
