// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace orgalink::platform {

// The operating system's message for an error number.
std::string ErrorText(int error_number);

bool FileExists(const std::string& path);
// Size of a regular file; nothing when its status cannot be read.
std::optional<std::uint64_t> FileSize(const std::string& path);
// The folder part of `path` with its trailing '/', or "" for a bare name.
std::string DirectoryOf(const std::string& path);
// Free bytes an unprivileged writer may use on the volume holding
// `directory` ("" meaning the current one); nothing, with the error number,
// when they cannot be found out (a missing folder, for one).
std::optional<std::uint64_t> DiskFreeBytes(const std::string& directory, int* error_number);

// False, with the error number, when an existing file at `path` cannot be
// opened for writing (write-protected, a folder); true when it can or when
// there is none. The file is neither created nor changed.
bool CheckWritable(const std::string& path, int* error_number);

// A file opened for reading, closed when the object goes.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return fd_.Valid(); }
  // Reads up to `size` bytes, fewer only at the end of the file; nothing on
  // a read error.
  std::optional<std::size_t> Read(std::uint8_t* buffer, std::size_t size);
  // The error number of the failed open or read.
  int Error() const { return error_; }

 private:
  UniqueFd fd_;
  int error_ = 0;
};

// What ReadWholeFile takes when its caller names no limit of its own: more
// than any file this program reads in one piece, yet little enough that a
// device that never ends (/dev/zero) costs no more memory than this.
inline constexpr std::size_t DefaultReadLimit = std::size_t{64} << 20;

// Reads a whole file of at most `limit` bytes. A longer one is not read on:
// the result is false with EFBIG, `bytes` empty and `error_text` saying
// "larger than LIMIT bytes", so that a file that never ends is refused as
// quickly as a long one. On another failure `error_text`, when given, gets
// the system's message. `error_number`, when given, gets the errno.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::string* error_text, std::size_t limit = DefaultReadLimit,
                   int* error_number = nullptr);

// Replaces a file only once its new contents are safely on disk: everything
// goes to a temporary file in the target's folder, which Commit() flushes and
// renames over the target. Until then the old file stays as it was, and a
// writer destroyed without a successful Commit() removes its temporary file.
// A new file is readable by its owner alone (0600); one that replaces
// another takes the mode of the file it replaces.
// Finish() flushes and closes the temporary file without renaming it, so that
// a caller can read it back at TempPath() before it replaces the target.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Open();
  bool Write(const std::uint8_t* data, std::size_t size);
  bool Finish();
  // Finishes first when that has not been done.
  bool Commit();
  // Commits under `path`, a name in the target's folder, but never over a
  // file that holds it: when one does, even one that appeared an instant
  // ago, false with EEXIST, and the finished temporary file stays for a try
  // under another name.
  bool CommitNew(const std::string& path);
  const std::string& TempPath() const { return temp_path_; }
  // The error number of the step that failed.
  int Error() const { return error_; }

 private:
  bool Fail(int error_number);
  void Discard();

  std::string target_;
  std::string temp_path_;
  UniqueFd fd_;
  int error_ = 0;
};

// Test seam: while an instance lives, AtomicFileWriter writes fail with
// `error_number` once `byte_limit` bytes have gone through them in total.
class ScopedWriteFault {
 public:
  ScopedWriteFault(std::uint64_t byte_limit, int error_number);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

// Test seam: a volume that is nearly full. While an instance lives,
// DiskFreeBytes reports `bytes` for every folder whose volume it can query.
class ScopedDiskFree {
 public:
  explicit ScopedDiskFree(std::uint64_t bytes);
  ~ScopedDiskFree();
  ScopedDiskFree(const ScopedDiskFree&) = delete;
  ScopedDiskFree& operator=(const ScopedDiskFree&) = delete;
};

// Test seam: a disk that silently garbles what it is given. While an instance
// lives, the byte at `offset` of the bytes that go through AtomicFileWriter
// writes from now on is stored complemented, once; the write reports success.
class ScopedWriteCorruption {
 public:
  explicit ScopedWriteCorruption(std::uint64_t offset);
  ~ScopedWriteCorruption();
  ScopedWriteCorruption(const ScopedWriteCorruption&) = delete;
  ScopedWriteCorruption& operator=(const ScopedWriteCorruption&) = delete;
};

}  // namespace orgalink::platform
