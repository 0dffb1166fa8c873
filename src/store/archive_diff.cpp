#include "store/archive_diff.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/archive_report.h"
#include "store/checked_archive.h"
#include "store/record_comparison.h"

namespace orgalink::store {

namespace {

constexpr int kUnreadable = 2;

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

void PrintSide(char sign, const RecordList& records, const std::vector<std::size_t>& places,
               std::uint8_t application, const CodeTable& incoming, std::ostream& out) {
  for (const std::size_t place : places) {
    out << sign << "   " << place + 1 << ": "
        << RecordDisplay(application, records[place], incoming) << '\n';
  }
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

int Compare(const ArchiveRecords& a, const ArchiveRecords& b, const CodeTable& incoming,
            bool summary, std::ostream& out) {
  bool differ = false;
  if (a.device != b.device) {
    out << "device code: " << DeviceText(a.device) << " in A, " << DeviceText(b.device)
        << " in B\n";
  }
  static const RecordList kNone;
  for (const std::uint8_t application : Applications(a, b)) {
    const RecordList& inA = a.Find(application) ? *a.Find(application) : kNone;
    const RecordList& inB = b.Find(application) ? *b.Find(application) : kNone;
    const RecordDifference d = CompareRecords(application, inA, inB, false);
    differ = differ || d.Differs();
    out << ApplicationName(application) << ": " << d.countA << " in A, " << d.countB << " in B\n";
    if (summary) continue;
    PrintSide('-', inA, d.onlyA, application, incoming, out);
    PrintSide('+', inB, d.onlyB, application, incoming, out);
    if (d.orderOnly) out << "  the same records in another order\n";
  }
  return differ ? 1 : 0;
}

}  // namespace

int DiffArchives(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                 const CodeTable& incoming, bool summary, std::ostream& out) {
  CheckedArchive checkedA;
  CheckedArchive checkedB;
  if (CheckArchiveBytes(a, checkedA) != StoreOk || CheckArchiveBytes(b, checkedB) != StoreOk) {
    return kUnreadable;
  }
  ArchiveRecords first;
  ArchiveRecords second;
  ReadArchiveRecords(checkedA.image, first);
  ReadArchiveRecords(checkedB.image, second);
  return Compare(first, second, incoming, summary, out);
}

int DiffArchiveFiles(const std::string& a, const std::string& b, const std::string& table_directory,
                     bool summary, std::ostream& out, std::ostream& err) {
  ArchiveRecords first;
  ArchiveRecords second;
  if (!ReadFile(a, first, err) || !ReadFile(b, second, err)) return kUnreadable;
  CodeTable outgoing{};
  CodeTable incoming{};
  LoadCodeTables(table_directory, outgoing, incoming);
  return Compare(first, second, incoming, summary, out);
}

}  // namespace orgalink::store
