// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/read_interrupt.h"
#include "platform/write_all.h"

namespace orgalink::platform {

namespace {

// The write fault of ScopedWriteFault: bytes still allowed, or -1 for none.
std::atomic<std::int64_t> fault_bytes_left{-1};
std::atomic<int> fault_error{0};
// The free space ScopedDiskFree pretends, or -1 for the real one.
std::atomic<std::int64_t> pretended_free{-1};
// The silent corruption of ScopedWriteCorruption: bytes still to pass before
// the one that is garbled, or -1 for none.
std::atomic<std::int64_t> corrupt_after{-1};

// How much of a write of `size` bytes the injected fault lets through;
// `size` when no fault is armed.
std::size_t AllowedByFault(std::size_t size) {
  const std::int64_t left = fault_bytes_left.load();
  if (left < 0) return size;
  const auto allowed =
      static_cast<std::size_t>(left) < size ? static_cast<std::size_t>(left) : size;
  fault_bytes_left.fetch_sub(static_cast<std::int64_t>(allowed));
  return allowed;
}

// The bytes a write of `size` bytes puts on disk: `data` itself, or a copy
// in `garbled` with one byte complemented when the armed corruption falls
// within them.
const std::uint8_t* AsCorrupted(const std::uint8_t* data, std::size_t size,
                                std::vector<std::uint8_t>& garbled) {
  const std::int64_t at = corrupt_after.load();
  if (at < 0) return data;
  if (static_cast<std::uint64_t>(at) >= size) {
    corrupt_after.fetch_sub(static_cast<std::int64_t>(size));
    return data;
  }
  corrupt_after.store(-1);
  garbled.assign(data, data + size);
  std::uint8_t& byte = garbled[static_cast<std::size_t>(at)];
  byte = static_cast<std::uint8_t>(~byte);
  return garbled.data();
}

// A name beside the target that no other writer uses; the leading dot keeps
// a half-written file out of ordinary listings.
std::string TempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  const std::string dir = DirectoryOf(target);
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".tmp%ld-%u-%08x", static_cast<long>(::getpid()),
                counter.fetch_add(1), static_cast<unsigned>(random()));
  return dir + "." + target.substr(dir.size()) + suffix;
}

// strerror_r comes in two flavours: the GNU one returns the text (which may
// be a static string), the POSIX one fills the buffer and returns 0.
[[maybe_unused]] std::string StrerrorResult(const char* text, const char*) {
  return text;
}
[[maybe_unused]] std::string StrerrorResult(int, const char* buffer) {
  return buffer;
}

bool Unsupported(int error_number) {
  return error_number == EINVAL || error_number == ENOSYS || error_number == EOPNOTSUPP ||
         error_number == EPERM;
}

// rename() that fails with EEXIST instead of replacing `to`. Where the file
// system cannot rename that way, a second name made with link(), which never
// replaces either, and the first removed do the same. One without hard links
// either is left with a look before the rename, which leaves only an instant
// for another writer to slip in.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (!Unsupported(errno)) return false;
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  if (!Unsupported(errno)) return false;
  struct stat status {};
  if (::lstat(to.c_str(), &status) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

void SyncDirectory(const std::string& directory) {
  const UniqueFd fd(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.Valid()) ::fsync(fd.Get());  // best effort: the rename itself has already succeeded
}

}  // namespace

std::string ErrorText(int error_number) {
  char buffer[256] = {};
  return StrerrorResult(::strerror_r(error_number, buffer, sizeof buffer), buffer);
}

bool FileExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::uint64_t> DiskFreeBytes(const std::string& directory, int* error_number) {
  struct statvfs volume {};
  if (::statvfs(directory.empty() ? "." : directory.c_str(), &volume) != 0) {
    if (error_number != nullptr) *error_number = errno;
    return std::nullopt;
  }
  if (const std::int64_t pretended = pretended_free.load(); pretended >= 0) {
    return static_cast<std::uint64_t>(pretended);
  }
  return static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
}

bool CheckWritable(const std::string& path, int* error_number) {
  if (UniqueFd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK)).Valid()) return true;
  if (errno == ENOENT) return true;
  if (error_number != nullptr) *error_number = errno;
  return false;
}

// Opened without waiting, so that a FIFO nobody writes to yet does not hold
// the program in open(), where no Ctrl-C could reach it; the reads then
// wait in WaitReadable, which one does.
InputFile::InputFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
  if (!fd_.Valid()) {
    error_ = errno;
    return;
  }
  const int flags = fcntl(fd_.Get(), F_GETFL);
  if (flags < 0 || fcntl(fd_.Get(), F_SETFL, flags & ~O_NONBLOCK) < 0) error_ = errno;
}

std::optional<std::size_t> InputFile::Read(std::uint8_t* buffer, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    if (!WaitReadable(fd_.Get())) {
      error_ = errno;
      return std::nullopt;
    }
    const ssize_t got = ::read(fd_.Get(), buffer + total, size - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      return std::nullopt;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::string* error_text, std::size_t limit, int* error_number) {
  InputFile file(path);
  bytes.clear();
  std::uint8_t chunk[65536];
  int error = file.Error();
  while (file.IsOpen()) {
    const std::optional<std::size_t> got = file.Read(chunk, sizeof chunk);
    if (!got) {
      error = file.Error();
      break;
    }
    if (*got > limit - bytes.size()) {
      // One byte past the limit is enough to know; nothing more is read.
      bytes.clear();
      bytes.shrink_to_fit();
      if (error_number != nullptr) *error_number = EFBIG;
      if (error_text != nullptr) *error_text = "larger than " + std::to_string(limit) + " bytes";
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + *got);
    if (*got < sizeof chunk) return true;
  }
  if (error_number != nullptr) *error_number = error;
  if (error_text != nullptr) *error_text = ErrorText(error);
  return false;
}

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

bool AtomicFileWriter::Open() {
  Discard();
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path_ = TempNameFor(target_);
    // Archives hold a person's contacts and appointments: only their owner
    // may read a new one.
    fd_ = UniqueFd(::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd_.Valid()) return true;
    if (errno != EEXIST) break;
  }
  const int error_number = errno;
  temp_path_.clear();
  return Fail(error_number);
}

bool AtomicFileWriter::Write(const std::uint8_t* data, std::size_t size) {
  if (!fd_.Valid()) return Fail(EBADF);
  const std::size_t allowed = AllowedByFault(size);
  std::vector<std::uint8_t> garbled;
  const auto* bytes = reinterpret_cast<const char*>(AsCorrupted(data, allowed, garbled));
  if (const int error = WriteAll(fd_.Get(), std::string_view(bytes, allowed))) return Fail(error);
  if (allowed < size) return Fail(fault_error.load());
  return true;
}

bool AtomicFileWriter::Finish() {
  if (!fd_.Valid()) return Fail(EBADF);
  if (::fsync(fd_.Get()) != 0) return Fail(errno);
  // The close can report a late write error, so it is not left to Reset.
  if (::close(fd_.Release()) != 0) return Fail(errno);
  return true;
}

bool AtomicFileWriter::Commit() {
  if (fd_.Valid() && !Finish()) return false;
  if (temp_path_.empty()) return Fail(EBADF);
  // A file replaced keeps the permissions its owner gave it.
  struct stat replaced {};
  if (::stat(target_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
      ::chmod(temp_path_.c_str(), replaced.st_mode & 07777) != 0) {
    return Fail(errno);
  }
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) return Fail(errno);
  temp_path_.clear();
  SyncDirectory(DirectoryOf(target_));
  return true;
}

bool AtomicFileWriter::CommitNew(const std::string& path) {
  if (fd_.Valid() && !Finish()) return false;
  if (temp_path_.empty()) return Fail(EBADF);
  if (!RenameNoReplace(temp_path_, path)) {
    if (errno != EEXIST) return Fail(errno);
    error_ = EEXIST;
    return false;
  }
  temp_path_.clear();
  SyncDirectory(DirectoryOf(path));
  return true;
}

bool AtomicFileWriter::Fail(int error_number) {
  error_ = error_number;
  Discard();
  return false;
}

void AtomicFileWriter::Discard() {
  fd_.Reset();
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  temp_path_.clear();
}

ScopedWriteFault::ScopedWriteFault(std::uint64_t byte_limit, int error_number) {
  fault_error.store(error_number);
  fault_bytes_left.store(static_cast<std::int64_t>(byte_limit));
}

ScopedWriteFault::~ScopedWriteFault() {
  fault_bytes_left.store(-1);
}

ScopedDiskFree::ScopedDiskFree(std::uint64_t bytes) {
  pretended_free.store(static_cast<std::int64_t>(bytes));
}

ScopedDiskFree::~ScopedDiskFree() {
  pretended_free.store(-1);
}

ScopedWriteCorruption::ScopedWriteCorruption(std::uint64_t offset) {
  corrupt_after.store(static_cast<std::int64_t>(offset));
}

ScopedWriteCorruption::~ScopedWriteCorruption() {
  corrupt_after.store(-1);
}

}  // namespace orgalink::platform
