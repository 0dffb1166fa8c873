#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "store/code_tables.h"

namespace orgalink::store {

// Compares the records of two archives, like diff(1): for each application
// either holds, in FullOrder, its record counts in A and B, then (unless
// `summary`) the records only in A as "-" lines and those only in B as "+"
// lines, each shown as inspect --records shows it with its place in its
// archive, or a line saying that only their order differs. A device code
// that differs gets a line of its own; the inversion of the body is no
// difference. 0 when the records are the same, 1 when they differ; 2 when
// either is no archive the organizer could take (CheckArchiveBytes).
int DiffArchives(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                 const CodeTable& incoming, bool summary, std::ostream& out);

// DiffArchives of two files, with the incoming table of the "code.dat" in
// `table_directory`; 2, with ReadArchiveFile's message on `err`, when either
// file cannot be read or is no archive the organizer could take.
int DiffArchiveFiles(const std::string& a, const std::string& b, const std::string& table_directory,
                     bool summary, std::ostream& out, std::ostream& err);

}  // namespace orgalink::store
