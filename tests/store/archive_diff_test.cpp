// SPDX-License-Identifier: GPL-3.0-or-later
// Two archives compared record by record, as orgalink diff shows them.

#include "store/archive_diff.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "store/appli_kind.h"
#include "store/record_comparison.h"

namespace orgalink::store {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Sections = std::vector<std::pair<std::uint8_t, std::vector<std::string>>>;

// A plain archive, or with `inverted` one whose body is complemented.
Bytes Archive(const Sections& sections, bool inverted = false, std::uint8_t deviceLow = 0) {
  Bytes file = {'I', 'M',       '2',
                'B', 'K',       inverted ? std::uint8_t('1') : std::uint8_t('0'),
                2,   deviceLow, static_cast<std::uint8_t>(sections.size())};
  for (const auto& [application, records] : sections) {
    file.push_back(application);
    file.push_back(0);
    file.push_back(static_cast<std::uint8_t>(records.size()));
    for (const std::string& record : records) {
      file.insert(file.end(), record.begin(), record.end());
      file.push_back(0xFF);
    }
  }
  if (inverted) {
    for (std::size_t i = 9; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(~file[i]);
  }
  return file;
}

struct DiffCase {
  const char* name;
  Bytes b;
  bool summary;
  int exit;
  const char* output;
};

// A To Do record: its binary fields, then its text.
std::string Task(const char* text) {
  return std::string(static_cast<std::size_t>(TextOffset(ToDo)), '#') + text;
}

// Diffs `a` and `b` as orgalink diff does, the archives named old.bkf and
// new.bkf: the exit status, and what it prints.
int Diff(const Bytes& a, const Bytes& b, const CodeTable& incoming, bool summary,
         std::ostream& out) {
  ArchiveDiff diff;
  if (!DiffArchives(a, b, incoming, diff)) return 2;
  PrintArchiveDiff(diff, "old.bkf", "new.bkf", summary, out);
  return DiffExitStatus(diff);
}

TEST(ArchiveDiff, NamesTheFilesAndShowsTheRecordsOnlyInEither) {
  const Sections base = {{Memo, {"alpha", "beta", "gamma"}}, {ToDo, {Task("shop")}}};
  const Bytes a = Archive(base);
  const CodeTable identity = [] {
    CodeTable table{};
    for (int i = 0; i < 128; ++i) table[i] = static_cast<std::uint8_t>(0x7F + i);
    return table;
  }();
  const Sections changed = {{Memo, {"alpha", "bETa", "gamma"}}, {ToDo, {Task("shop")}}};
  const Sections reordered = {{Memo, {"gamma", "alpha", "beta"}}, {ToDo, {Task("shop")}}};
  const DiffCase cases[] = {
      {"identical, one inverted", Archive(base, true), false, 0, ""},
      {"one byte changed", Archive(changed), false, 1,
       "Memo: 3 in old.bkf, 3 in new.bkf\n-   2: beta\n+   2: bETa\n"},
      {"fields apart, a bar of the text escaped",
       Archive({{Memo, {"alpha", std::string("be\0t|a", 6), "gamma"}}, {ToDo, {Task("shop")}}}),
       false, 1, "Memo: 3 in old.bkf, 3 in new.bkf\n-   2: beta\n+   2: be | t\\x7Ca\n"},
      {"one record more",
       Archive({{Memo, {"alpha", "beta", "gamma"}}, {ToDo, {Task("shop"), Task("cook")}}}), false,
       1, "To Do: 1 in old.bkf, 2 in new.bkf\n+   2: cook\n"},
      {"order only", Archive(reordered), false, 1,
       "Memo: 3 in old.bkf, 3 in new.bkf\n  the same records in another order\n"},
      {"an application missing", Archive({{Memo, {"alpha", "beta", "gamma"}}}), false, 1,
       "To Do: 1 in old.bkf, 0 in new.bkf\n-   1: shop\n"},
      {"summary of a record fewer", Archive({{Memo, {"alpha", "beta"}}, {ToDo, {Task("shop")}}}),
       true, 1, "Memo: 3 in old.bkf, 2 in new.bkf; 0 added, 1 removed\n"},
      {"summary of a changed record", Archive(changed), true, 1,
       "Memo: 3 in old.bkf, 3 in new.bkf; 1 added, 1 removed\n"},
      {"summary of another order", Archive(reordered), true, 1,
       "Memo: 3 in old.bkf, 3 in new.bkf; the same records, order changed\n"},
      {"another device code", Archive(base, false, 1), false, 0,
       "device code: 02 00 in old.bkf, 02 01 in new.bkf\n"},
      {"not an archive", Bytes{'n', 'o'}, false, 2, ""},
  };
  for (const DiffCase& c : cases) {
    std::ostringstream out;
    EXPECT_EQ(Diff(a, c.b, identity, c.summary, out), c.exit) << c.name;
    EXPECT_EQ(out.str(), c.output) << c.name;
  }
}

// Telephone is kept in the organizer's own order; a verification must not
// count that as a difference, but a lost record still is one.
TEST(RecordComparison, AnyOrderComparesAsAMultiset) {
  const RecordList a = {{'x'}, {'y'}, {'y'}};
  const RecordList shuffled = {{'y'}, {'x'}, {'y'}};
  const RecordList lost = {{'y'}, {'x'}};
  EXPECT_FALSE(CompareRecords(Telephone, a, shuffled, true).Differs());
  EXPECT_TRUE(CompareRecords(Memo, a, shuffled, false).orderOnly);
  const RecordDifference d = CompareRecords(Telephone, a, lost, true);
  EXPECT_EQ(d.onlyA, (std::vector<std::size_t>{2}));
  EXPECT_TRUE(d.onlyB.empty());
}

}  // namespace
}  // namespace orgalink::store
