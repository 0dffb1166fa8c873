// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the per-application dump files.

#include "operations/dump_file.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::operations {

namespace {

// The largest meaningful dump: 65535 records of 1023 bytes, each with its
// terminator. A longer file cannot be loaded anyway, so it is refused before
// it is read into memory.
constexpr std::uint64_t kMaxDumpFileSize =
    static_cast<std::uint64_t>(store::MaxRecordsPerSlot) * (store::MaxRecordLength + 1);

bool ReadDump(const std::string& path, std::vector<std::uint8_t>& bytes) {
  const auto size = platform::FileSize(path);
  if (!size || *size > kMaxDumpFileSize) return false;
  try {
    return platform::ReadWholeFile(path, bytes, nullptr) && bytes.size() <= kMaxDumpFileSize;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

std::string DumpFilePath(const std::string& directory, int kind, DumpDirection direction) {
  const bool known = kind >= store::Schedule && kind <= store::ExpenseCategory;
  const char* base = store::DumpBaseName(static_cast<std::uint8_t>(known ? kind : store::Schedule));
  std::string path = directory;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + base + (direction == DumpDirection::Send ? ".snd" : ".rcv");
}

store::StoreResult LoadDumpFile(store::AppliStore& store, const std::string& path,
                                std::uint8_t kind) {
  store.ClearSlots();
  std::vector<std::uint8_t> bytes;
  if (!ReadDump(path, bytes)) return store::StoreFailed;
  return LoadDumpBytes(store, bytes, kind);
}

store::StoreResult LoadDumpBytes(store::AppliStore& store, std::span<const std::uint8_t> bytes,
                                 std::uint8_t kind) {
  store.ClearSlots();
  const auto last = std::find(bytes.rbegin(), bytes.rend(), store::RecordTerminator);
  const std::size_t length = static_cast<std::size_t>(bytes.rend() - last);
  // AddRecords takes the records whole or not at all: more than 65535 of
  // them, a record without its terminator within 1024 bytes, or a store
  // without a free slot leave the store empty.
  if (store.AddRecords(kind, bytes.first(length)) != store::StoreOk) return store::StoreFailed;
  store.SetMagic(store::PlainMagic);
  return store::StoreOk;
}

store::StoreResult SaveDumpFile(const store::AppliStore& store, const std::string& path,
                                std::uint8_t kind) {
  if (store.FindSlot(kind) < 0) return store::StoreRejected;
  std::vector<std::uint8_t> stream;
  if (store.GetRecords(kind, stream) != store::StoreOk) return store::StoreRejected;
  platform::AtomicFileWriter writer(path);
  const bool written =
      writer.Open() && writer.Write(stream.data(), stream.size()) && writer.Commit();
  return written ? store::StoreOk : store::StoreRejected;
}

}  // namespace orgalink::operations
