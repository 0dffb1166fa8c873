// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the dump-file reader: the first byte chooses the
// application, the rest is the file. Whatever it takes must come out again
// as the same records: as many as the file has terminators up to its last
// one, each as long as it was.
//
//   dump_file_fuzzer fuzz/dump_corpus -max_total_time=60

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "operations/dump_file.h"
#include "store/appli_store.h"
#include "store/record.h"

namespace {

using orgalink::store::RecordTerminator;

// The file up to and with its last terminator: the part that holds records.
std::span<const std::uint8_t> RecordPart(std::span<const std::uint8_t> file) {
  const auto last = std::find(file.rbegin(), file.rend(), RecordTerminator);
  return file.first(static_cast<std::size_t>(file.rend() - last));
}

// Record lengths of a stream whose every record ends in a terminator.
std::vector<std::size_t> Lengths(std::span<const std::uint8_t> stream) {
  std::vector<std::size_t> lengths;
  std::size_t start = 0;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    if (stream[i] != RecordTerminator) continue;
    lengths.push_back(i - start);
    start = i + 1;
  }
  return lengths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orgalink;
  if (size == 0) return 0;
  const std::uint8_t kind = data[0];
  const std::span<const std::uint8_t> file(data + 1, size - 1);

  // No table file: the conversion tables are spaces, which never make a
  // terminator, so the records keep their lengths.
  static store::AppliStore store("/nonexistent/");
  store.GetAppliBuf(2);
  if (operations::LoadDumpBytes(store, file, kind) != store::StoreOk) return 0;

  std::vector<std::uint8_t> stream;
  if (store.GetRecords(kind, stream) != store::StoreOk) std::abort();
  const std::vector<std::size_t> taken = Lengths(RecordPart(file));
  if (store.RecordCount(kind) != static_cast<int>(taken.size())) std::abort();
  if (Lengths(stream) != taken) std::abort();
  return 0;
}
