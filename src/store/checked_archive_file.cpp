// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/checked_archive_file.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <vector>

#include "store/numbered_name.h"

namespace orgalink::store {

namespace {

constexpr const char* kReadBackMismatch = "The archive read back differs from what was written.";
// However many backups of one day there are, a free number turns up long
// before this; only a folder that refuses every name gets this far.
constexpr int kMostNumberedNames = 10000;

// The folder as the user knows it: without the trailing '/', "." for none.
std::string FolderName(std::string directory) {
  if (directory.empty()) return ".";
  if (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

}  // namespace

void CheckedArchiveFile::SetErrorText(std::string* error_text, int error_number) const {
  error_ = error_number;
  if (error_text != nullptr) *error_text = platform::ErrorText(error_number);
}

StoreResult CheckedArchiveFile::Open(std::string* error_text) {
  int error_number = 0;
  // The target itself, not the temporary file, decides: a write-protected
  // archive is not to be replaced behind the user's back.
  // A numbered file replaces nothing, so nothing there is in its way.
  const bool writable = keep_existing_ || platform::CheckWritable(path_, &error_number);
  if (!writable || !writer_.Open()) {
    SetErrorText(error_text, writable ? writer_.Error() : error_number);
    return StoreRejected;
  }
  return StoreOk;
}

StoreResult CheckedArchiveFile::Write(const Emitter& emit, std::string* error_text) {
  ArchiveSink sink(
      [this](std::span<const std::uint8_t> chunk) {
        return writer_.Write(chunk.data(), chunk.size());
      },
      invert_);
  const StoreResult emitted = emit(sink);
  if (emitted == StoreInvalid) return emitted;
  if (emitted != StoreOk || !writer_.Finish()) {
    SetErrorText(error_text, writer_.Error());
    return StoreRejected;
  }
  const StoreResult verified = Verify(emit, error_text);
  if (verified != StoreOk) return verified;
  if (!Commit()) {
    SetErrorText(error_text, writer_.Error());
    return StoreRejected;
  }
  return StoreOk;
}

// Replaces the target, or, for a numbered file, takes the first name from
// the target on that no file holds at this very moment.
bool CheckedArchiveFile::Commit() {
  if (!keep_existing_) return writer_.Commit();
  for (int tries = 0; tries < kMostNumberedNames; ++tries) {
    if (writer_.CommitNew(path_)) return true;
    if (writer_.Error() != EEXIST) return false;
    path_ = NextNumberedName(path_);
  }
  return false;
}

// Reads the finished temporary file back and compares it, chunk by chunk,
// with the bytes produced anew.
StoreResult CheckedArchiveFile::Verify(const Emitter& emit, std::string* error_text) const {
  platform::InputFile file(writer_.TempPath());
  if (!file.IsOpen()) {
    SetErrorText(error_text, file.Error());
    return StoreRejected;
  }
  bool read_failed = false;
  std::vector<std::uint8_t> read_back;
  ArchiveSink expected(
      [&](std::span<const std::uint8_t> chunk) {
        read_back.resize(chunk.size());
        const std::optional<std::size_t> got = file.Read(read_back.data(), chunk.size());
        read_failed = !got;
        return got && *got == chunk.size() &&
               std::equal(chunk.begin(), chunk.end(), read_back.begin());
      },
      invert_);
  bool same = emit(expected) == StoreOk;
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

bool RoomFor(const std::string& path, std::uint64_t required, std::string& refusal,
             int* error_out) {
  const std::string directory = platform::DirectoryOf(path);
  int error_number = 0;
  const std::optional<std::uint64_t> free_bytes = platform::DiskFreeBytes(directory, &error_number);
  if (!free_bytes) {
    refusal = FolderName(directory) + ": " + platform::ErrorText(error_number);
    if (error_out != nullptr) *error_out = error_number;
    return false;
  }
  if (*free_bytes >= required) return true;
  if (error_out != nullptr) *error_out = ENOSPC;
  refusal = platform::ErrorText(ENOSPC) + " (needs " + std::to_string(required) + " bytes, " +
            std::to_string(*free_bytes) + " free)";
  return false;
}

StoreResult SaveArchiveFile(ArchiveWrite& write, std::span<const std::uint8_t> file) {
  if (!RoomFor(write.path, file.size(), write.refusal, &write.errorNumber)) return StoreRejected;
  try {
    CheckedArchiveFile checked(write.path, false, write.keepExisting);
    StoreResult result = checked.Open(&write.errorText);
    if (result == StoreOk) {
      result = checked.Write(
          [file](ArchiveSink& sink) {
            sink.Body(file);
            return sink.Flush() ? StoreOk : StoreRejected;
          },
          &write.errorText);
    }
    write.errorNumber = checked.Error();
    write.path = checked.Path();
    return result;
  } catch (const std::bad_alloc&) {
    return StoreRejected;
  }
}

}  // namespace orgalink::store
