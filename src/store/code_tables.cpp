// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/code_tables.h"

#include <algorithm>
#include <optional>

#include "platform/file_system.h"

namespace orgalink::store {

namespace {

constexpr std::uint8_t kSpace = 0x20;

// Reads the next part of the file into `table`; a short file fills it only as
// far as its bytes reach, a read error leaves it all spaces. True when the
// whole table came from the file.
bool ReadCodeTable(platform::InputFile& file, CodeTable& table) {
  const std::optional<std::size_t> got = file.Read(table.data(), table.size());
  if (!got) table.fill(kSpace);
  return got && *got == table.size();
}

// Nothing of `table` changes on a read error; a short read changes only the
// entries it reached.
bool ReadSortTable(platform::InputFile& file, SortTable& table, bool* read_failed) {
  SortTable buffer{};
  const std::optional<std::size_t> got = file.Read(buffer.data(), buffer.size());
  *read_failed = !got;
  if (!got) return false;
  std::copy_n(buffer.begin(), *got, table.begin());
  return *got == table.size();
}

bool LoadCodeFile(const std::string& directory, CodeTable& outgoing, CodeTable& incoming,
                  bool read_incoming_after_failure) {
  outgoing.fill(kSpace);
  incoming.fill(kSpace);
  platform::InputFile file(directory + "code.dat");
  if (!file.IsOpen()) return false;
  const bool outgoing_read = ReadCodeTable(file, outgoing);
  const bool outgoing_failed = file.Error() != 0;
  if (outgoing_failed && !read_incoming_after_failure) return false;
  const bool incoming_read = ReadCodeTable(file, incoming);
  return outgoing_read && incoming_read;
}

}  // namespace

bool LoadCodeTables(const std::string& directory, CodeTable& outgoing, CodeTable& incoming) {
  return LoadCodeFile(directory, outgoing, incoming, false);
}

void LoadStoreCodeTables(const std::string& directory, CodeTable& outgoing, CodeTable& incoming) {
  LoadCodeFile(directory, outgoing, incoming, true);
}

bool LoadSortTables(const std::string& directory, SortTable& weights, SortTable& second) {
  platform::InputFile file(directory + "sort.dat");
  if (!file.IsOpen()) return false;
  bool read_failed = false;
  const bool weights_read = ReadSortTable(file, weights, &read_failed);
  if (read_failed) return false;
  const bool second_read = ReadSortTable(file, second, &read_failed);
  return weights_read && second_read;
}

}  // namespace orgalink::store
