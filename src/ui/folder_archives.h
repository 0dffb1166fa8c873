// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orgalink::ui {

// The archives the program itself names in the backup folder: a dated
// backup ("20261210.bkf", then "20261210-2.bkf", ...) or the safety copy a
// restore makes first ("before-restore-20261210-134501.bkf", numbered the
// same way should the name be taken). Other files are the user's own and
// are neither listed nor removed.
enum class FolderArchiveKind { Dated, Safety };

struct FolderArchive {
  std::string name;
  FolderArchiveKind kind = FolderArchiveKind::Dated;
  // The local date the name gives, as eight digits (20261210).
  int date = 0;
  // Seconds since local midnight: a safety copy's name gives them; a dated
  // backup takes them from its modification time when that falls on the
  // name's date (a copied file's time says nothing about the backup).
  std::optional<int> second;
  // 1 for the plain name, N for the one ending in "-N".
  int number = 1;
};

// The archive a file name stands for; nothing for any other name or for a
// date that is no day of the calendar.
std::optional<FolderArchive> ArchiveOfName(const std::string& name);

// Whether `a` was made after `b`: by date, then time of day where known,
// then number.
bool NewerArchive(const FolderArchive& a, const FolderArchive& b);

// The program's archives in `folder`, newest first. 0, or the error number
// of a folder that cannot be read (ENOENT for one not made yet).
int ListFolderArchives(const std::string& folder, std::vector<FolderArchive>& newestFirst);

// When the archive was made, for people: "2026-12-10 13:45:01", or only
// "2026-12-10" where the time of day is unknown.
std::string ArchiveWhen(const FolderArchive& archive);

}  // namespace orgalink::ui
