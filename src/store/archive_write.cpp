// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the AppliStore to an archive file. The old archive is replaced
// only by a new one that has been read back and found to hold exactly what
// the store meant to write.

#include "store/archive_write.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>

#include "platform/file_system.h"
#include "store/appli_store.h"
#include "store/archive.h"
#include "store/archive_sink.h"
#include "store/checked_archive_file.h"
#include "store/record.h"

namespace orgalink::store {

std::int64_t AppliStore::ArchiveSpaceRequired() const {
  if (!has_table_) return ToInt(StoreInvalid);
  std::int64_t required =
      static_cast<std::int64_t>(ArchiveHeaderSize + SectionHeaderSize * slots_.size());
  for (const AppliSlot& slot : slots_) {
    if (!slot.in_use) continue;
    const int size = RecordsSize(slot.application);
    if (size < 0) return ToInt(StoreRejected);
    required += size;
  }
  return required;
}

StoreResult AppliStore::SaveArchive(const std::string& path, bool scramble,
                                    std::string* error_text) {
  ArchiveWrite write;
  write.path = path;
  write.scramble = scramble;
  const StoreResult result = SaveArchive(write);
  if (error_text != nullptr && !write.errorText.empty()) *error_text = write.errorText;
  return result;
}

StoreResult AppliStore::SaveArchive(ArchiveWrite& write) {
  if (!has_table_) return StoreInvalid;
  const std::int64_t required = ArchiveSpaceRequired();
  if (required < 0) return StoreRejected;
  if (!RoomFor(write.path, static_cast<std::uint64_t>(required), write.refusal,
               &write.errorNumber)) {
    return StoreRejected;
  }
  if (appli_count_ > 255 || appli_count_ > Capacity()) return StoreRejected;
  try {
    return WriteArchive(write);
  } catch (const std::bad_alloc&) {
    return StoreRejected;
  }
}

StoreResult AppliStore::WriteArchive(ArchiveWrite& write) {
  CheckedArchiveFile file(write.path, write.scramble, write.keepExisting);
  const StoreResult opened = file.Open(&write.errorText);
  write.errorNumber = file.Error();
  if (opened != StoreOk) return opened;
  SetMagic(write.scramble ? InvertedMagic : PlainMagic);
  const StoreResult written =
      file.Write([this](ArchiveSink& sink) { return EmitArchive(sink); }, &write.errorText);
  write.errorNumber = file.Error();
  write.path = file.Path();
  return written;
}

// The file's bytes, in order, into `sink`. StoreInvalid when a record would
// hold 0xFF in the organizer's codes: a reader would take it for the
// record's end, so such a file could not be read back.
StoreResult AppliStore::EmitArchive(ArchiveSink& sink) const {
  const std::uint8_t count = static_cast<std::uint8_t>(appli_count_);
  sink.Header(std::span(reinterpret_cast<const std::uint8_t*>(magic_.data()), magic_.size()));
  sink.Header(std::span(device_code_).first(2));
  sink.Header(std::span(&count, 1));
  std::vector<std::uint8_t> converted;
  converted.reserve(MaxRecordLength + 1);
  for (int i = 0; sink.Ok() && i < appli_count_; ++i) {
    const AppliSlot& slot = slots_[static_cast<std::size_t>(i)];
    const std::uint8_t header[] = {slot.application, static_cast<std::uint8_t>(slot.count >> 8),
                                   static_cast<std::uint8_t>(slot.count & 0xFF)};
    sink.Body(header);
    // An empty reference (records freed, count kept) contributes no bytes.
    const std::size_t records = std::min<std::size_t>(slot.count, slot.records.size());
    for (std::size_t r = 0; sink.Ok() && r < records; ++r) {
      if (!slot.records[r]) continue;
      converted.assign(slot.records[r]->begin(), slot.records[r]->end());
      ToDeviceCodes(slot.application, converted);
      if (std::find(converted.begin(), converted.end(), RecordTerminator) != converted.end()) {
        return StoreInvalid;
      }
      converted.push_back(RecordTerminator);
      sink.Body(converted);
    }
  }
  return sink.Flush() ? StoreOk : StoreRejected;
}

}  // namespace orgalink::store
