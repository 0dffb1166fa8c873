// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the archive reader and to the report of the
// inspect command, which share one bounded parser, and checks that export
// then import gives back every archive that loads.
//
//   archive_fuzzer fuzz/corpus -max_total_time=60

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/archive_json.h"
#include "platform/charset.h"
#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "store/archive_report.h"
#include "store/checked_archive.h"
#include "store/readable_archive.h"

namespace {

orgalink::store::CodeTable IdentityTable() {
  orgalink::store::CodeTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(0x7F + i);
  return table;
}

// The JSON of export, imported again, must give back the very file.
void CheckRoundTrip(std::span<const std::uint8_t> file, const orgalink::store::CodeTable& table) {
  using namespace orgalink;
  static platform::Charset charset("WINDOWS-1252");
  store::RecordCodec codec(table, table, charset);
  // Only an archive within the organizer's limits loads, and only such an
  // archive does import build.
  store::CheckedArchive checked;
  if (store::CheckArchiveBytes(file, checked) != store::StoreOk) return;
  store::ReadableArchive archive;
  store::ReadArchive(checked.image, codec, archive);
  std::string json, named, problem;
  store::ReadableArchive imported;
  std::vector<std::uint8_t> back;
  if (!exchange::ArchiveToJson(archive, charset.Name(), json) ||
      !exchange::ArchiveFromJson(json, imported, named, problem) ||
      !store::BuildArchive(imported, codec, back, &problem) ||
      !std::equal(back.begin(), back.end(), file.begin(), file.end())) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orgalink::store;
  const std::span<const std::uint8_t> file(data, size);

  // No table file: the conversion tables are spaces, which is enough here.
  static AppliStore store("/nonexistent/");
  // Take the file's own device code so that the sections are reached.
  if (size >= 8) store.SetDeviceCode(data[6], data[7]);
  store.GetAppliBuf(ArchiveSlots);
  if (store.LoadArchiveBytes(file) == StoreOk) {
    std::vector<std::uint8_t> stream;
    for (int kind = 0; kind < 256; ++kind) {
      if (store.FindSlot(static_cast<std::uint8_t>(kind)) >= 0) {
        store.GetRecords(static_cast<std::uint8_t>(kind), stream);
      }
    }
  }

  static const CodeTable incoming = IdentityTable();
  std::ostringstream out, err;
  ReportArchive(file, incoming, true, out, err);
  CheckRoundTrip(file, incoming);
  return 0;
}
