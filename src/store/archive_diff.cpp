// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive_diff.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/archive_report.h"
#include "store/checked_archive.h"

namespace orgalink::store {

namespace {

std::string DeviceText(const std::array<std::uint8_t, 2>& device) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X %02X", device[0], device[1]);
  return text;
}

// The applications either archive holds: FullOrder first, any others after.
std::vector<std::uint8_t> Applications(const ArchiveRecords& a, const ArchiveRecords& b) {
  std::vector<std::uint8_t> held(FullOrder.begin(), FullOrder.end());
  for (const ArchiveRecords* archive : {&a, &b}) {
    for (const auto& section : archive->sections) {
      if (std::find(held.begin(), held.end(), section.first) == held.end()) {
        held.push_back(section.first);
      }
    }
  }
  std::erase_if(held, [&](std::uint8_t application) {
    return a.Find(application) == nullptr && b.Find(application) == nullptr;
  });
  return held;
}

std::vector<DiffRecord> Shown(const RecordList& records, const std::vector<std::size_t>& places,
                              std::uint8_t application, const CodeTable& incoming) {
  std::vector<DiffRecord> shown;
  for (const std::size_t place : places) {
    shown.push_back({place, RecordFields(application, records[place], incoming)});
  }
  return shown;
}

bool ReadFile(const std::string& path, ArchiveRecords& archive, std::ostream& err) {
  CheckedArchive checked;
  if (ReadArchiveFile(path, checked) != StoreOk) {
    err << checked.message << '\n';
    return false;
  }
  ReadArchiveRecords(checked.image, archive);
  return true;
}

ArchiveDiff Compare(const ArchiveRecords& a, const ArchiveRecords& b, const CodeTable& incoming) {
  ArchiveDiff diff;
  diff.deviceA = a.device;
  diff.deviceB = b.device;
  static const RecordList kNone;
  for (const std::uint8_t application : Applications(a, b)) {
    const RecordList& inA = a.Find(application) ? *a.Find(application) : kNone;
    const RecordList& inB = b.Find(application) ? *b.Find(application) : kNone;
    ApplicationDiff entry{CompareRecords(application, inA, inB, false), {}, {}};
    entry.removed = Shown(inA, entry.difference.onlyA, application, incoming);
    entry.added = Shown(inB, entry.difference.onlyB, application, incoming);
    diff.applications.push_back(std::move(entry));
  }
  return diff;
}

void PrintRecords(char sign, const std::vector<DiffRecord>& records, std::ostream& out) {
  for (const DiffRecord& record : records) {
    out << sign << "   " << record.place + 1 << ": " << JoinedFields(record.fields) << '\n';
  }
}

std::string SummaryLine(const ApplicationDiff& entry) {
  const RecordDifference& d = entry.difference;
  if (d.orderOnly) return "the same records, order changed";
  return std::to_string(d.onlyB.size()) + " added, " + std::to_string(d.onlyA.size()) + " removed";
}

}  // namespace

bool ArchiveDiff::Differs() const {
  return std::any_of(applications.begin(), applications.end(),
                     [](const ApplicationDiff& entry) { return entry.difference.Differs(); });
}

bool DiffArchives(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                  const CodeTable& incoming, ArchiveDiff& diff) {
  CheckedArchive checkedA;
  CheckedArchive checkedB;
  if (CheckArchiveBytes(a, checkedA) != StoreOk || CheckArchiveBytes(b, checkedB) != StoreOk) {
    return false;
  }
  ArchiveRecords first;
  ArchiveRecords second;
  ReadArchiveRecords(checkedA.image, first);
  ReadArchiveRecords(checkedB.image, second);
  diff = Compare(first, second, incoming);
  return true;
}

bool DiffArchiveFiles(const std::string& a, const std::string& b,
                      const std::string& table_directory, ArchiveDiff& diff, std::ostream& err) {
  ArchiveRecords first;
  ArchiveRecords second;
  if (!ReadFile(a, first, err) || !ReadFile(b, second, err)) return false;
  CodeTable outgoing{};
  CodeTable incoming{};
  LoadCodeTables(table_directory, outgoing, incoming);
  diff = Compare(first, second, incoming);
  return true;
}

void PrintArchiveDiff(const ArchiveDiff& diff, const std::string& nameA, const std::string& nameB,
                      bool summary, std::ostream& out) {
  if (diff.deviceA != diff.deviceB) {
    out << "device code: " << DeviceText(diff.deviceA) << " in " << nameA << ", "
        << DeviceText(diff.deviceB) << " in " << nameB << '\n';
  }
  for (const ApplicationDiff& entry : diff.applications) {
    const RecordDifference& d = entry.difference;
    if (!d.Differs()) continue;
    out << ApplicationName(d.application) << ": " << d.countA << " in " << nameA << ", " << d.countB
        << " in " << nameB;
    if (summary) {
      out << "; " << SummaryLine(entry) << '\n';
      continue;
    }
    out << '\n';
    PrintRecords('-', entry.removed, out);
    PrintRecords('+', entry.added, out);
    if (d.orderOnly) out << "  the same records in another order\n";
  }
}

}  // namespace orgalink::store
