// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "store/appli_store.h"
#include "store/store_result.h"

namespace orgalink::operations {

// A dump file holds one application's records as a bare record stream in the
// organizer's codes: records back to back, each ended by 0xFF, no header.
// ".snd" files are read and sent, ".rcv" files are written with what arrived,
// so a ".rcv" copied to the ".snd" name goes back as it came.
enum class DumpDirection { Send, Receive };

// "<directory><base>.snd" or ".rcv", the base named after the application:
// "telephone", "memo", ...; Schedule and any number outside 0..6 (all
// applications included) use "schedule". A separator is put after a
// non-empty `directory` that lacks one.
std::string DumpFilePath(const std::string& directory, int kind, DumpDirection direction);

// Replaces the store's records by the dump file at `path`, held under
// `kind`; bytes after the last 0xFF are ignored. StoreFailed for a file that
// cannot be read, one with more than 65535 records or a record longer than
// 1023 bytes, and a store without a free slot; the store then holds nothing.
store::StoreResult LoadDumpFile(store::AppliStore& store, const std::string& path,
                                std::uint8_t kind);

// LoadDumpFile of a dump already in memory.
store::StoreResult LoadDumpBytes(store::AppliStore& store, std::span<const std::uint8_t> bytes,
                                 std::uint8_t kind);

// Writes the records of `kind` to `path` as a dump file, replacing any file
// there only once the new one is complete. StoreRejected when the store has
// no slot of `kind` or the file cannot be written.
store::StoreResult SaveDumpFile(const store::AppliStore& store, const std::string& path,
                                std::uint8_t kind);

}  // namespace orgalink::operations
