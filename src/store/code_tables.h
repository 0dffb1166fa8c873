// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orgalink::store {

// Entry i translates the code 0x7F + i (codes 0x00..0x7E and 0xFF never change).
using CodeTable = std::array<std::uint8_t, 128>;
// Entry b is the sort weight of the byte value b.
using SortTable = std::array<std::uint8_t, 256>;

// The program-wide tables, loaded once at start and only read afterwards.
struct CharTables {
  CodeTable outgoing{};  // computer code -> organizer code
  CodeTable incoming{};  // organizer code -> computer code
  SortTable weights{};   // first table of "sort.dat"
  SortTable second{};    // second table of "sort.dat": loaded, not used
};

// `directory` is the folder of the table files including its trailing
// separator, or empty for the bare file names.
// Both tables start as spaces; a short file fills each only as far as its
// bytes reach, and a read error leaves the table being read all spaces.
// True when both 128-byte tables came whole from the file.
bool LoadCodeTables(const std::string& directory, CodeTable& outgoing, CodeTable& incoming);
// The store's variant of the same load (the incoming read is tried even when
// the outgoing one failed).
void LoadStoreCodeTables(const std::string& directory, CodeTable& outgoing, CodeTable& incoming);
// Leaves both tables as they are when the file cannot be opened, and every
// entry a short or failing read did not reach; true when both 256-byte
// tables came whole from the file.
bool LoadSortTables(const std::string& directory, SortTable& weights, SortTable& second);

}  // namespace orgalink::store
