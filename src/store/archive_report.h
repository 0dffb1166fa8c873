// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "store/code_tables.h"

namespace orgalink::store {

struct CheckedArchive;

// Describes an archive for a person: its magic and whether the body is
// inverted, its device code (whatever it is) and one line per section; with
// `show_records` also every record's text part, translated through
// `incoming` and written as UTF-8. What makes the archive unusable (the
// message of CheckArchiveBytes) goes to `err`; an archive whose sections
// could be read is described all the same. Returns the exit code: 0 for an
// archive the organizer could take, 1 otherwise.
int ReportArchive(std::span<const std::uint8_t> file, const CodeTable& incoming, bool show_records,
                  std::ostream& out, std::ostream& err);
int ReportArchive(const CheckedArchive& archive, const CodeTable& incoming, bool show_records,
                  std::ostream& out, std::ostream& err);

// ReportArchive of the file at `path` as ReadArchiveFile reads it, with the
// incoming table of the "code.dat" in `table_directory`.
int InspectArchiveFile(const std::string& path, const std::string& table_directory,
                       bool show_records, std::ostream& out, std::ostream& err);

// How a record of `application` (in the organizer's codes) is shown: the
// fields of its text part, translated through `incoming`, each as
// Latin1ToDisplay writes it, joined by JoinedFields.
std::string RecordDisplay(std::uint8_t application, std::vector<std::uint8_t> record,
                          const CodeTable& incoming);

// The text fields (separated by zero bytes) of a record as RecordDisplay
// shows them, one string each.
std::vector<std::string> RecordFields(std::uint8_t application, std::vector<std::uint8_t> record,
                                      const CodeTable& incoming);

// Fields shown on one line, separated by " | "; a '|' of the text itself is
// written \x7C, so that the line still tells the fields apart.
std::string JoinedFields(const std::vector<std::string>& fields);

// Latin-1 text as UTF-8; control codes, 0x7F..0x9F and the backslash itself
// are written as escapes (\xNN, \\), so that every byte can be told apart.
std::string Latin1ToDisplay(std::span<const std::uint8_t> text);

}  // namespace orgalink::store
