// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/archive_text.h"

#include "store/archive.h"
#include "store/hex_text.h"

namespace orgalink::exchange {

namespace {

std::string Spaced(const std::string& hex) {
  std::string spaced;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    spaced += (i == 0 ? "" : " ") + hex.substr(i, 2);
  }
  return spaced;
}

void WriteRecord(const store::ReadableRecord& record, std::size_t number, std::ostream& out) {
  out << "\nrecord " << number;
  if (!record.readable) {
    out << " (kept as hex)\n" << Spaced(store::ToHex(record.bytes)) << '\n';
    return;
  }
  out << '\n';
  if (!record.prefix.empty()) out << "prefix: " << Spaced(store::ToHex(record.prefix)) << '\n';
  for (const std::string& field : record.fields) out << field << '\n';
}

}  // namespace

void WriteArchiveText(const store::ReadableArchive& archive, const std::string& charset,
                      std::ostream& out) {
  const bool inverted = archive.magic == store::InvertedMagic;
  out << "magic: " << archive.magic << (inverted ? " (body inverted)" : " (body not inverted)")
      << "\ndevice code: " << Spaced(store::ToHex(archive.device)) << "\ncharacter set: " << charset
      << '\n';
  for (const store::ReadableSection& section : archive.sections) {
    const std::size_t count = section.records.size();
    out << "\n== " << store::ApplicationName(section.application) << ": " << count
        << (count == 1 ? " record" : " records") << " ==\n";
    for (std::size_t r = 0; r < count; ++r) WriteRecord(section.records[r], r + 1, out);
  }
  if (!archive.trailing.empty()) {
    out << "\n== after the last section ==\n" << Spaced(store::ToHex(archive.trailing)) << '\n';
  }
}

}  // namespace orgalink::exchange
