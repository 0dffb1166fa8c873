// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archive_history.h"

#include <algorithm>
#include <ostream>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/checked_archive.h"
#include "store/record_comparison.h"
#include "ui/archive_names.h"

namespace orgalink::ui {

namespace {

// The reason alone: the store's messages begin with the path.
std::string Reason(const std::string& message, const std::string& path) {
  if (!message.starts_with(path)) return message;
  std::string reason = message.substr(path.size());
  if (reason.starts_with(": ")) return reason.substr(2);
  if (reason.starts_with(" ")) return reason.substr(1);
  return reason;
}

std::vector<std::uint8_t> Applications(const store::ArchiveRecords& now,
                                       const store::ArchiveRecords* before) {
  std::vector<std::uint8_t> held;
  auto add = [&held](std::uint8_t application) {
    if (std::find(held.begin(), held.end(), application) == held.end()) {
      held.push_back(application);
    }
  };
  for (const std::uint8_t application : store::FullOrder) {
    if (now.Find(application) || (before && before->Find(application))) add(application);
  }
  for (const store::ArchiveRecords* archive : {&now, before}) {
    if (archive == nullptr) continue;
    for (const auto& section : archive->sections) add(section.first);
  }
  return held;
}

void Compare(const store::ArchiveRecords& now, const store::ArchiveRecords* before,
             HistoryEntry& entry) {
  static const store::RecordList kNone;
  for (const std::uint8_t application : Applications(now, before)) {
    const store::RecordList* inNow = now.Find(application);
    const store::RecordList* inBefore = before ? before->Find(application) : nullptr;
    HistoryApplication counts{application, inNow ? inNow->size() : 0};
    if (before != nullptr) {
      const store::RecordDifference d = store::CompareRecords(
          application, inBefore ? *inBefore : kNone, inNow ? *inNow : kNone, false);
      counts.added = d.onlyB.size();
      counts.removed = d.onlyA.size();
    }
    entry.applications.push_back(counts);
  }
}

}  // namespace

int ReadArchiveHistory(const std::string& folder, std::vector<HistoryEntry>& newestFirst) {
  newestFirst.clear();
  std::vector<FolderArchive> archives;
  if (const int error = ListFolderArchives(folder, archives)) return error;
  // Oldest first, so that only the last sound archive need be held.
  std::optional<store::ArchiveRecords> before;
  std::string beforeName;
  for (auto archive = archives.rbegin(); archive != archives.rend(); ++archive) {
    HistoryEntry entry;
    entry.archive = *archive;
    entry.path = JoinPath(folder, archive->name);
    store::CheckedArchive checked;
    if (store::ReadArchiveFile(entry.path, checked) != store::StoreOk) {
      entry.problem = Reason(checked.message, entry.path);
    } else {
      store::ArchiveRecords records;
      store::ReadArchiveRecords(checked.image, records);
      entry.comparedWith = beforeName;
      Compare(records, before ? &*before : nullptr, entry);
      before = std::move(records);
      beforeName = archive->name;
    }
    newestFirst.push_back(std::move(entry));
  }
  std::reverse(newestFirst.begin(), newestFirst.end());
  return 0;
}

void PrintArchiveHistory(const std::vector<HistoryEntry>& newestFirst, std::ostream& out) {
  for (const HistoryEntry& entry : newestFirst) {
    out << ArchiveWhen(entry.archive) << "  " << entry.archive.name;
    if (entry.archive.kind == FolderArchiveKind::Safety) out << "  (safety copy)";
    const bool changed = std::any_of(
        entry.applications.begin(), entry.applications.end(),
        [](const HistoryApplication& one) { return one.added != 0 || one.removed != 0; });
    if (!entry.comparedWith.empty()) {
      out << (changed ? "  changes since " : "  no change since ") << entry.comparedWith;
    }
    out << '\n';
    if (!entry.problem.empty()) out << "  unusable: " << entry.problem << '\n';
    for (const HistoryApplication& application : entry.applications) {
      out << "  " << store::ApplicationName(application.application) << ": " << application.records;
      if (application.added != 0 || application.removed != 0) {
        out << " (+" << application.added << " -" << application.removed << ')';
      }
      out << '\n';
    }
  }
}

}  // namespace orgalink::ui
