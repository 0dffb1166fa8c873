// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/program_directory.h"
#include "store/code_tables.h"
#include "store/store_result.h"

namespace orgalink::store {

struct ArchiveImage;
struct ArchiveWrite;
class ArchiveSink;

// The records of the organizer's applications for one communication, one
// slot per application, held in the computer's character codes. Records
// enter and leave only as record streams (records back to back, each ended by
// 0xFF) and are converted from and to the organizer's codes on the way.
//
// Storage grows with the records held: a slot keeps one byte string per
// record, without its terminator.
class AppliStore {
 public:
  // Loads the conversion tables from "code.dat" in `table_directory`.
  explicit AppliStore(const std::string& table_directory = platform::DataDirectory());

  // Replaces any slot table by one of `slots` empty slots; StoreInvalid
  // (and no table) when it cannot be allocated.
  StoreResult GetAppliBuf(int slots);
  void FreeAppliBuf();
  // Drops every record of every slot; headers, flags and the appli count stay.
  void FreeRecords();
  // Empties every slot; nothing without a table.
  void ClearSlots();
  // Index of the first slot carrying `kind`, in use or not; StoreInvalid
  // without a table, StoreNoSlot when none.
  int FindSlot(std::uint8_t kind) const;
  // Index of the first slot not in use; StoreFull when none or no table.
  int FindUnusedSlot() const;
  // Makes the slot of `kind` (or the first unused one) an empty slot in use.
  StoreResult PrepareSlot(std::uint8_t kind);
  // Appends the records of a stream received for `kind`. Either every record
  // of the stream is taken or, on failure, nothing changes.
  StoreResult AddRecords(std::uint8_t kind, std::span<const std::uint8_t> stream);
  // Copies the records of `kind` into `buffer` as a stream in the organizer's
  // codes; `length` receives the stream's size.
  StoreResult GetRecords(std::uint8_t kind, std::span<std::uint8_t> buffer, int& length) const;
  // The same into a vector sized to fit.
  StoreResult GetRecords(std::uint8_t kind, std::vector<std::uint8_t>& stream) const;
  // Record count of `kind`; StoreNoAppli when no slot carries it.
  int RecordCount(std::uint8_t kind) const;
  // The buffer size GetRecords needs for `kind` (one byte per record more
  // than its stream); StoreNoAppli when no slot carries it.
  int RecordsSize(std::uint8_t kind) const;
  // StoreDuplicate when an in-use slot carries the application of an earlier
  // slot.
  StoreResult CheckDuplicates() const;

  // Archive files (archive_write.cpp, archive.cpp). SaveArchive writes every
  // in-use slot, replacing the file at `path` only once the new one is
  // complete and has been read back unchanged; `scramble` inverts the
  // body. A file that reads back otherwise is StoreRejected, one that
  // could not be read back at all (a record holding 0xFF in the organizer's
  // codes) StoreInvalid. LoadArchive replaces the records by those of the
  // file, which it reads no further than MaxArchiveFileBytes (a longer file
  // is StoreInvalid) and holds to the organizer's limits (archive_limits.h):
  // an application held twice is StoreDuplicate, any other limit broken
  // StoreInvalid. `error_text`, when given, receives the system's message
  // for a failed file operation, or what the read-back found.
  StoreResult SaveArchive(const std::string& path, bool scramble, std::string* error_text);
  // The same with the choices and reports of ArchiveWrite (store/archive_write.h):
  // a numbered name that never replaces a file, and why the space was refused.
  StoreResult SaveArchive(ArchiveWrite& write);
  StoreResult LoadArchive(const std::string& path, std::string* error_text);
  // The free space SaveArchive demands: the header, a section header for
  // every slot of the table and RecordsSize of every in-use slot. An old file
  // at the target is not counted as free, since it stays on disk beside the
  // new one until the new one is complete. StoreInvalid without a table,
  // StoreRejected when a size cannot be found.
  std::int64_t ArchiveSpaceRequired() const;
  // LoadArchive of a file already in memory; `problem`, when given, receives
  // a description of what makes the archive unacceptable.
  StoreResult LoadArchiveBytes(std::span<const std::uint8_t> file, std::string* problem = nullptr);

  void SetDeviceCode(std::uint8_t high, std::uint8_t low) {
    device_code_[0] = high;
    device_code_[1] = low;
  }
  const std::uint8_t* DeviceCode() const { return device_code_; }
  std::string_view Magic() const { return {magic_.data(), magic_.size()}; }
  // `magic` must hold six characters.
  void SetMagic(std::string_view magic);
  int AppliCount() const { return appli_count_; }
  int Capacity() const { return static_cast<int>(slots_.size()); }
  bool HasTable() const { return has_table_; }

  // Conversion of one record of `kind` with the store's own tables.
  void FromDeviceCodes(std::uint8_t kind, std::span<std::uint8_t> record) const;
  void ToDeviceCodes(std::uint8_t kind, std::span<std::uint8_t> record) const;
  const CodeTable& OutgoingTable() const { return outgoing_; }
  const CodeTable& IncomingTable() const { return incoming_; }

 private:
  // A record without terminator; empty after FreeRecords.
  using StoredRecord = std::optional<std::vector<std::uint8_t>>;

  struct AppliSlot {
    std::uint8_t application = 0xFF;
    std::uint16_t count = 0;
    // Records 0..count-1; indexes past the end are empty references.
    std::vector<StoredRecord> records;
    bool in_use = false;
  };

  StoreResult AppendRecords(AppliSlot& slot, std::uint8_t kind,
                            std::span<const std::uint8_t> stream, std::size_t start,
                            std::size_t new_count) const;
  StoreResult WriteArchive(ArchiveWrite& write);
  StoreResult EmitArchive(ArchiveSink& sink) const;
  void TakeSections(const ArchiveImage& image);
  const AppliSlot* SlotOf(std::uint8_t kind) const;

  std::array<char, 6> magic_ = {'I', 'M', '2', 'B', 'K', '1'};
  std::uint8_t device_code_[2] = {2, 0};
  int appli_count_ = 0;
  bool has_table_ = false;
  std::vector<AppliSlot> slots_;
  CodeTable outgoing_{};
  CodeTable incoming_{};
};

}  // namespace orgalink::store
