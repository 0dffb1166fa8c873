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
#include "store/numbered_name.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

constexpr const char* kReadBackMismatch = "The archive read back differs from what was written.";

// However many backups of one day there are, a free number turns up long
// before this; only a folder that refuses every name gets this far.
constexpr int kMostNumberedNames = 10000;

void SetErrorText(std::string* error_text, int error_number) {
  if (error_text != nullptr) *error_text = platform::ErrorText(error_number);
}

// The folder as the user knows it: without the trailing '/', "." for none.
std::string FolderName(std::string directory) {
  if (directory.empty()) return ".";
  if (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

// Whether the volume of `path` has `required` bytes free; if not, `refusal`
// says what is lacking: the space, or the folder whose space could not be
// found out (missing, say), with the system's reason.
bool RoomFor(const std::string& path, std::uint64_t required, std::string& refusal) {
  const std::string directory = platform::DirectoryOf(path);
  int error_number = 0;
  const std::optional<std::uint64_t> free_bytes = platform::DiskFreeBytes(directory, &error_number);
  if (!free_bytes) {
    refusal = FolderName(directory) + ": " + platform::ErrorText(error_number);
    return false;
  }
  if (*free_bytes >= required) return true;
  refusal = platform::ErrorText(ENOSPC) + " (needs " + std::to_string(required) + " bytes, " +
            std::to_string(*free_bytes) + " free)";
  return false;
}

// Replaces the target, or, for a numbered archive, takes the first name from
// the target on that no file holds at this very moment.
bool Commit(platform::AtomicFileWriter& writer, ArchiveWrite& write) {
  if (!write.keepExisting) return writer.Commit();
  for (int tries = 0; tries < kMostNumberedNames; ++tries) {
    if (writer.CommitNew(write.path)) return true;
    if (writer.Error() != EEXIST) return false;
    write.path = NextNumberedName(write.path);
  }
  return false;
}

}  // namespace

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

StoreResult AppliStore::SaveArchive(const std::string& path, int scramble,
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
  if (!RoomFor(write.path, static_cast<std::uint64_t>(required), write.refusal)) {
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
  std::string* error_text = &write.errorText;
  int error_number = 0;
  if (!write.keepExisting && !platform::CheckWritable(write.path, &error_number)) {
    SetErrorText(error_text, error_number);
    return StoreRejected;
  }
  platform::AtomicFileWriter writer(write.path);
  if (!writer.Open()) {
    SetErrorText(error_text, writer.Error());
    return StoreRejected;
  }
  SetMagic(write.scramble != 0 ? InvertedMagic : PlainMagic);
  ArchiveSink sink(
      [&writer](const std::uint8_t* data, std::size_t size) { return writer.Write(data, size); },
      write.scramble != 0);
  const StoreResult emitted = EmitArchive(sink);
  if (emitted == StoreInvalid) return emitted;
  if (emitted != StoreOk || !writer.Finish()) {
    SetErrorText(error_text, writer.Error());
    return StoreRejected;
  }
  const StoreResult verified = VerifyArchive(writer.TempPath(), write.scramble != 0, error_text);
  if (verified != StoreOk) return verified;
  if (!Commit(writer, write)) {
    SetErrorText(error_text, writer.Error());
    return StoreRejected;
  }
  return StoreOk;
}

// The file's bytes, in order, into `sink`. StoreInvalid when a record would
// hold 0xFF in the organizer's codes: a reader would take it for the
// record's end, so such a file could not be read back.
StoreResult AppliStore::EmitArchive(ArchiveSink& sink) const {
  const std::uint8_t count = static_cast<std::uint8_t>(appli_count_);
  sink.Header(reinterpret_cast<const std::uint8_t*>(magic_.data()), magic_.size());
  sink.Header(device_code_, 2);
  sink.Header(&count, 1);
  std::vector<std::uint8_t> converted;
  converted.reserve(MaxRecordLength + 1);
  for (int i = 0; sink.Ok() && i < appli_count_; ++i) {
    const AppliSlot& slot = slots_[static_cast<std::size_t>(i)];
    const std::uint8_t header[] = {slot.application, static_cast<std::uint8_t>(slot.count >> 8),
                                   static_cast<std::uint8_t>(slot.count & 0xFF)};
    sink.Body(header, sizeof header);
    // An empty reference (records freed, count kept) contributes no bytes.
    const std::size_t records = std::min<std::size_t>(slot.count, slot.records.size());
    for (std::size_t r = 0; sink.Ok() && r < records; ++r) {
      if (!slot.records[r]) continue;
      converted.assign(slot.records[r]->begin(), slot.records[r]->end());
      ToDeviceCodes(slot.application, converted.data(), converted.size());
      if (std::find(converted.begin(), converted.end(), RecordTerminator) != converted.end()) {
        return StoreInvalid;
      }
      converted.push_back(RecordTerminator);
      sink.Body(converted.data(), converted.size());
    }
  }
  return sink.Flush() ? StoreOk : StoreRejected;
}

// Reads the finished temporary file back and compares it, chunk by chunk,
// with the bytes the store produces anew.
StoreResult AppliStore::VerifyArchive(const std::string& written, bool invert,
                                      std::string* error_text) const {
  platform::InputFile file(written);
  if (!file.IsOpen()) {
    SetErrorText(error_text, file.Error());
    return StoreRejected;
  }
  bool read_failed = false;
  std::vector<std::uint8_t> read_back;
  ArchiveSink expected(
      [&](const std::uint8_t* data, std::size_t size) {
        read_back.resize(size);
        const std::optional<std::size_t> got = file.Read(read_back.data(), size);
        read_failed = !got;
        return got && *got == size && std::equal(data, data + size, read_back.begin());
      },
      invert);
  bool same = EmitArchive(expected) == StoreOk;
  if (same) {
    std::uint8_t extra = 0;
    const std::optional<std::size_t> got = file.Read(&extra, 1);
    read_failed = !got;
    same = got && *got == 0;
  }
  if (same) return StoreOk;
  if (read_failed) {
    SetErrorText(error_text, file.Error());
  } else if (error_text != nullptr) {
    *error_text = kReadBackMismatch;
  }
  return StoreRejected;
}

}  // namespace orgalink::store
