// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/file_system.h"
#include "store/archive_sink.h"
#include "store/archive_write.h"
#include "store/store_result.h"

namespace orgalink::store {

// Replaces an archive file only by a new one that has been read back and
// found to hold exactly what was meant: the bytes go to a temporary file
// beside the target, which is read back and compared with a second run of
// the same output before it is renamed over the target. Until then an old
// archive stays as it was.
class CheckedArchiveFile {
 public:
  // Produces the file's bytes in order into the sink; the same each time.
  using Emitter = std::function<StoreResult(ArchiveSink& sink)>;

  // `invert`: the sink complements the body. `keep_existing`: the file never
  // replaces another; a name taken by the time it is complete gives way to
  // the next numbered one (NextNumberedName), and Path() tells which.
  CheckedArchiveFile(const std::string& path, bool invert, bool keep_existing = false)
      : path_(path), writer_(path), invert_(invert), keep_existing_(keep_existing) {}

  // Refuses a target that cannot be written, then opens the temporary file.
  // StoreRejected with the system's message in `error_text` on failure.
  StoreResult Open(std::string* error_text);
  // Writes, reads back and renames. StoreInvalid, with nothing written, when
  // `emit` gives it; StoreRejected for a failure of the file or a read-back
  // that differs, with the system's message or what the read-back found.
  StoreResult Write(const Emitter& emit, std::string* error_text);
  // The name the file was written under.
  const std::string& Path() const { return path_; }
  // The errno of the file step that failed; 0 for a read-back that differs.
  int Error() const { return error_; }

 private:
  // Tells the system's message for `error_number` and keeps the number.
  void SetErrorText(std::string* error_text, int error_number) const;
  StoreResult Verify(const Emitter& emit, std::string* error_text) const;
  bool Commit();

  std::string path_;
  platform::AtomicFileWriter writer_;
  bool invert_;
  bool keep_existing_;
  mutable int error_ = 0;
};

// Whether the volume of `path` has `required` bytes free; if not, `refusal`
// says what is lacking: the space, "No space left on device (needs 353916
// bytes, 12288 free)", or the folder whose space could not be found out
// (missing, say), with the system's reason; `error_out`, when given, gets
// its errno (ENOSPC for want of room).
bool RoomFor(const std::string& path, std::uint64_t required, std::string& refusal,
             int* error_out = nullptr);

// Writes a whole archive file whose bytes are in memory to `write.path`, the
// same way, after checking that the volume has room for it. The bytes go as
// they are (the body already inverted when the magic says so), so
// `write.scramble` plays no part. StoreRejected with what went wrong told
// in `write` as an AppliStore's write tells it: the refusal, or the file
// step's message, and the errno.
StoreResult SaveArchiveFile(ArchiveWrite& write, std::span<const std::uint8_t> file);

}  // namespace orgalink::store
