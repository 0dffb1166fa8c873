// The AppliStore's archive operations: SaveArchive and LoadArchive are
// members of the store, since they read and replace its slots directly.

#include "store/archive.h"

#include <algorithm>
#include <new>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

// Bytes gathered before they go to the file in one write.
constexpr std::size_t kWriteChunk = 64 * 1024;

// Collects the file's bytes and hands them to the writer in chunks.
class ArchiveSink {
 public:
  ArchiveSink(platform::AtomicFileWriter& writer, bool invert) : writer_(writer), invert_(invert) {}

  // Appends body bytes; `convert` runs on them before any inversion.
  template <typename Convert>
  bool AppendBody(const std::uint8_t* data, std::size_t size, Convert convert) {
    const std::size_t start = buffer_.size();
    buffer_.insert(buffer_.end(), data, data + size);
    convert(buffer_.data() + start, size);
    if (invert_) {
      for (std::size_t i = start; i < buffer_.size(); ++i) {
        buffer_[i] = static_cast<std::uint8_t>(~buffer_[i]);
      }
    }
    return buffer_.size() < kWriteChunk || Flush();
  }
  bool AppendBody(const std::uint8_t* data, std::size_t size) {
    return AppendBody(data, size, [](std::uint8_t*, std::size_t) {});
  }
  // Header bytes are never inverted.
  void AppendHeader(const std::uint8_t* data, std::size_t size) {
    buffer_.insert(buffer_.end(), data, data + size);
  }
  bool Flush() {
    const bool written = writer_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
  }

 private:
  platform::AtomicFileWriter& writer_;
  bool invert_;
  std::vector<std::uint8_t> buffer_;
};

void SetErrorText(std::string* error_text, int error_number) {
  if (error_text != nullptr) *error_text = platform::ErrorText(error_number);
}

}  // namespace

std::int64_t AppliStore::ArchiveSpaceRequired(const std::string& path) const {
  if (!has_table_) return ToInt(StoreInvalid);
  std::int64_t required =
      static_cast<std::int64_t>(ArchiveHeaderSize + SectionHeaderSize * slots_.size());
  for (const AppliSlot& slot : slots_) {
    if (!slot.in_use) continue;
    const int size = RecordsSize(slot.application);
    if (size < 0) return ToInt(StoreRejected);
    required += size;
  }
  // The old file's space counts as free, as it will be once replaced.
  const auto existing = static_cast<std::int64_t>(platform::FileSize(path).value_or(0));
  return std::max<std::int64_t>(required - existing, 0);
}

StoreResult AppliStore::SaveArchive(const std::string& path, int scramble,
                                    std::string* error_text) {
  if (!has_table_) return StoreInvalid;
  const std::int64_t required = ArchiveSpaceRequired(path);
  if (required < 0) return StoreRejected;
  const std::uint64_t free_bytes = platform::DiskFreeBytes(platform::DirectoryOf(path));
  if (free_bytes < static_cast<std::uint64_t>(required)) return StoreRejected;
  if (appli_count_ > 255 || appli_count_ > Capacity()) return StoreRejected;
  try {
    return WriteArchive(path, scramble, error_text);
  } catch (const std::bad_alloc&) {
    return StoreRejected;
  }
}

StoreResult AppliStore::WriteArchive(const std::string& path, int scramble,
                                     std::string* error_text) {
  int error_number = 0;
  if (!platform::CheckWritable(path, &error_number)) {
    SetErrorText(error_text, error_number);
    return StoreRejected;
  }
  platform::AtomicFileWriter writer(path);
  if (!writer.Open()) {
    SetErrorText(error_text, writer.Error());
    return StoreRejected;
  }
  SetMagic(scramble != 0 ? InvertedMagic : PlainMagic);
  ArchiveSink sink(writer, scramble != 0);
  const std::uint8_t count = static_cast<std::uint8_t>(appli_count_);
  sink.AppendHeader(reinterpret_cast<const std::uint8_t*>(magic_.data()), magic_.size());
  sink.AppendHeader(device_code_, 2);
  sink.AppendHeader(&count, 1);
  bool written = true;
  for (int i = 0; written && i < appli_count_; ++i) {
    const AppliSlot& slot = slots_[static_cast<std::size_t>(i)];
    const std::uint8_t header[] = {slot.application, static_cast<std::uint8_t>(slot.count >> 8),
                                   static_cast<std::uint8_t>(slot.count & 0xFF)};
    written = sink.AppendBody(header, sizeof header);
    // An empty reference (records freed, count kept) contributes no bytes.
    for (std::size_t r = 0; written && r < std::min<std::size_t>(slot.count, slot.records.size());
         ++r) {
      if (!slot.records[r]) continue;
      const std::vector<std::uint8_t>& record = *slot.records[r];
      written = sink.AppendBody(record.data(), record.size(),
                                [&](std::uint8_t* bytes, std::size_t size) {
                                  ToDeviceCodes(slot.application, bytes, size);
                                }) &&
                sink.AppendBody(&RecordTerminator, 1);
    }
  }
  if (!written || !sink.Flush() || !writer.Commit()) {
    SetErrorText(error_text, writer.Error());
    return StoreRejected;
  }
  return StoreOk;
}

StoreResult AppliStore::LoadArchive(const std::string& path, std::string* error_text) {
  if (!has_table_) return StoreInvalid;
  std::vector<std::uint8_t> file;
  try {
    if (!platform::ReadWholeFile(path, file, error_text)) return StoreFailed;
  } catch (const std::bad_alloc&) {
    return StoreFailed;
  }
  return LoadArchiveBytes(file);
}

StoreResult AppliStore::LoadArchiveBytes(std::span<const std::uint8_t> file, std::string* problem) {
  if (!has_table_) return StoreInvalid;
  FreeRecords();
  ArchiveImage image;
  const StoreResult parsed = ParseArchive(file, device_code_, Capacity(), image, problem);
  if (image.magic_valid) std::copy(image.magic.begin(), image.magic.end(), magic_.begin());
  if (parsed == StoreBadMagic || parsed == StoreWrongDevice) return parsed;
  if (parsed != StoreOk) {
    // Nothing half-read stays behind.
    ClearSlots();
    return parsed;
  }
  try {
    TakeSections(image);
  } catch (const std::bad_alloc&) {
    ClearSlots();
    return StoreFailed;
  }
  return CheckDuplicates();
}

// Section i goes to slot i, its records entering the store's codes.
void AppliStore::TakeSections(const ArchiveImage& image) {
  appli_count_ = image.section_count;
  for (std::size_t i = 0; i < image.sections.size(); ++i) {
    const ArchiveSection& section = image.sections[i];
    AppliSlot& slot = slots_[i];
    slot.application = section.application;
    slot.count = section.count;
    slot.records.clear();
    slot.records.reserve(section.count);
    const std::uint8_t* next = image.body.data() + section.offset;
    const std::uint8_t* const end = next + section.length;
    for (unsigned r = 0; r < section.count; ++r) {
      // The parser has checked that every record ends within the section.
      const auto length = static_cast<std::size_t>(RecordLength(next, end - next));
      auto& record = slot.records.emplace_back(std::in_place, next, next + length);
      FromDeviceCodes(section.application, record->data(), record->size());
      next += length + 1;
    }
    slot.in_use = true;
  }
}

}  // namespace orgalink::store
