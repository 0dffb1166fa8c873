// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to import as its JSON text. Whatever it refuses it
// must refuse cleanly, whatever the nesting, size or bytes; whatever it
// accepts must make an archive that the archive reader loads and whose
// export imports back into the very same bytes.
//
//   json_import_fuzzer fuzz/json_corpus -max_total_time=60

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/archive_json.h"
#include "platform/charset.h"
#include "store/archive.h"
#include "store/readable_archive.h"
#include "store/record_codec.h"

namespace {

using namespace orgalink;

store::CodeTable IdentityTable() {
  store::CodeTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(0x7F + i);
  return table;
}

// The archive that import builds of `json`; false when it refuses it.
bool Import(std::string_view json, store::RecordCodec& codec, std::vector<std::uint8_t>& archive) {
  store::ReadableArchive readable;
  std::string charset, problem;
  return exchange::ArchiveFromJson(json, readable, charset, problem) &&
         store::BuildArchive(readable, codec, archive, &problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const store::CodeTable table = IdentityTable();
  // One character set for every input: opening one per input would cost
  // more than the reading under test. It leaves some bytes undefined, so
  // that text that cannot be encoded is reached.
  static platform::Charset charset("WINDOWS-1252");
  static store::RecordCodec codec(table, table, charset);

  std::vector<std::uint8_t> archive;
  if (!Import(std::string_view(reinterpret_cast<const char*>(data), size), codec, archive)) {
    return 0;
  }
  store::ReadableArchive readable;
  std::string json, problem;
  std::vector<std::uint8_t> again;
  if (store::ReadArchive(archive, codec, readable, &problem) != store::StoreOk ||
      !exchange::ArchiveToJson(readable, charset.Name(), json) || !Import(json, codec, again) ||
      again != archive) {
    __builtin_trap();
  }
  return 0;
}
