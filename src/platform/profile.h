// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/file_contents.h"
#include "platform/ini_document.h"

namespace orgalink::platform {

// INI settings files with the semantics of the private-profile functions:
// sections and keys are matched without regard to case, a missing file or
// key yields the default, and integers are read from the leading decimal
// digits (an optional sign first; no digits gives 0). A file is read once
// and its keys are taken from the parsed text.

// A settings file as it was read: an empty document when it is Missing or
// could not be read.
struct ProfileRead {
  ReadOutcome outcome = ReadOutcome::Missing;
  int error = 0;  // the reason a Failed read failed
  IniDocument document;
};
ProfileRead ReadProfile(const std::string& file);

int ProfileInt(const IniDocument& document, const std::string& section, const std::string& key,
               int default_value);
std::string ProfileString(const IniDocument& document, const std::string& section,
                          const std::string& key, const std::string& default_value);

// One key to write.
struct ProfileChange {
  std::string section;
  std::string key;
  std::string value;
  // Set only when the file has no such key: a default must not replace what
  // someone else has put there since the file was read.
  bool onlyIfAbsent = false;
};

// Sets the keys of `changes` in the document, each default only where the
// document has no such key.
void MergeChanges(IniDocument& document, const std::vector<ProfileChange>& changes);

// Writes `changes` into the file as it is at this moment, in one atomic
// replacement, creating the file, the section or the key as needed and
// keeping every other line as it was. Nothing is written when nothing would
// change. Returns 0, or the error number of what failed; an existing file
// that cannot be read is left alone.
int MergeIntoProfile(const std::string& file, const std::vector<ProfileChange>& changes);

}  // namespace orgalink::platform
