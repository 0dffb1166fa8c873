// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/folder_archives.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <tuple>

#include "platform/folder_listing.h"

namespace orgalink::ui {

namespace {

constexpr std::string_view kExtension = ".bkf";
constexpr std::string_view kSafetyPrefix = "before-restore-";

// `count` decimal digits at `at`, or nothing.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool CalendarDay(int date) {
  using namespace std::chrono;
  return year_month_day{year{date / 10000}, month{static_cast<unsigned>(date / 100 % 100)},
                        day{static_cast<unsigned>(date % 100)}}
      .ok();
}

// The "-N" a name taken gives way to (2 to 99999), or 1 for none.
std::optional<int> NumberSuffix(std::string_view rest) {
  if (rest.empty()) return 1;
  if (rest[0] != '-' || rest.size() < 2 || rest.size() > 6 || rest[1] == '0') return std::nullopt;
  const std::optional<int> number = Digits(rest, 1, rest.size() - 1);
  if (!number || *number < 2) return std::nullopt;
  return number;
}

}  // namespace

std::optional<FolderArchive> ArchiveOfName(const std::string& name) {
  std::string_view stem = name;
  if (!stem.ends_with(kExtension)) return std::nullopt;
  stem.remove_suffix(kExtension.size());
  FolderArchive archive;
  archive.name = name;
  if (stem.starts_with(kSafetyPrefix)) {
    stem.remove_prefix(kSafetyPrefix.size());
    archive.kind = FolderArchiveKind::Safety;
    const std::optional<int> hours = Digits(stem, 9, 2);
    const std::optional<int> minutes = Digits(stem, 11, 2);
    const std::optional<int> seconds = Digits(stem, 13, 2);
    if (stem.size() < 15 || stem[8] != '-' || !hours || !minutes || !seconds || *hours > 23 ||
        *minutes > 59 || *seconds > 60) {
      return std::nullopt;
    }
    archive.second = *hours * 3600 + *minutes * 60 + *seconds;
    stem.remove_prefix(15);
  } else {
    if (stem.size() < 8) return std::nullopt;
    stem.remove_prefix(8);
  }
  const std::optional<int> date =
      Digits(name, archive.kind == FolderArchiveKind::Safety ? kSafetyPrefix.size() : 0, 8);
  const std::optional<int> number = NumberSuffix(stem);
  if (!date || !CalendarDay(*date) || !number) return std::nullopt;
  archive.date = *date;
  archive.number = *number;
  return archive;
}

bool NewerArchive(const FolderArchive& a, const FolderArchive& b) {
  return std::tuple(a.date, a.second.value_or(-1), a.number, a.name) >
         std::tuple(b.date, b.second.value_or(-1), b.number, b.name);
}

int ListFolderArchives(const std::string& folder, std::vector<FolderArchive>& newestFirst) {
  newestFirst.clear();
  std::vector<platform::FolderFile> files;
  if (const int error = platform::ListFolderFiles(folder, files)) return error;
  for (const platform::FolderFile& file : files) {
    std::optional<FolderArchive> archive = ArchiveOfName(file.name);
    if (!archive) continue;
    if (!archive->second && file.localDate == archive->date) archive->second = file.localSecond;
    newestFirst.push_back(std::move(*archive));
  }
  std::sort(newestFirst.begin(), newestFirst.end(), NewerArchive);
  return 0;
}

std::string ArchiveWhen(const FolderArchive& archive) {
  char text[32];
  const int date = archive.date;
  if (!archive.second) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
  } else {
    const int second = *archive.second;
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date / 10000,
                  date / 100 % 100, date % 100, second / 3600, second / 60 % 60, second % 60);
  }
  return text;
}

}  // namespace orgalink::ui
