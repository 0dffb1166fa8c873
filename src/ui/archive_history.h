// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/folder_archives.h"

namespace orgalink::ui {

// One application of an archive in the history: its record count, and what
// changed since the archive before, counted as `diff --summary` counts
// records (a multiset: a record edited is one removed and one added).
struct HistoryApplication {
  std::uint8_t application = 0;
  std::size_t records = 0;
  std::size_t added = 0;
  std::size_t removed = 0;
};

struct HistoryEntry {
  FolderArchive archive;
  std::string path;
  // Why the archive cannot be read or could not go to the organizer, such
  // as "not a usable archive: Memo occurs twice, in sections 1 and 2";
  // empty for a sound one, which alone has applications.
  std::string problem;
  // The nearest older archive that could be read, which the changes are
  // counted against; empty for the oldest one.
  std::string comparedWith;
  // FullOrder first; an application only the older archive holds is listed
  // with 0 records.
  std::vector<HistoryApplication> applications;
};

// Every archive of the program in `folder` (ListFolderArchives), newest
// first, each read and judged as a restore would and compared with the one
// before. 0, or the error number of a folder that cannot be read.
int ReadArchiveHistory(const std::string& folder, std::vector<HistoryEntry>& newestFirst);

// The history for people: per archive a line "WHEN  NAME", with
// "(safety copy)" for one a restore made and "changes since NAME" (or "no
// change since NAME") when there is an older one, then one line per application
// "  Telephone: 12 (+1 -2)", the changes only where there are some, or
// "  unusable: REASON".
void PrintArchiveHistory(const std::vector<HistoryEntry>& newestFirst, std::ostream& out);

}  // namespace orgalink::ui
