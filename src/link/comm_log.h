#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orgalink::link {

// The communication log: a plain text file with CR LF line ends. Every entry
// is opened, appended and closed on its own so that the file is complete up
// to the last entry even if the program stops. An empty file name turns the
// calls into no-ops that succeed.

// Writes one entry: a time stamp header, then `text` with each "\n" written
// as CR LF. The header is the absolute local time "{dd/mm/yy HH:MM:SS}" CR LF
// on the first entry of the process or when `force_stamp` is set, otherwise
// the milliseconds since that stamp as "{+%07d}". Returns 0 after a file error.
int LogLine(platform::Clock& clock, const std::string& file_name, std::string_view text,
            bool force_stamp);

// Appends "[ " , "%02x " per byte and "]" CR LF, without a header.
int LogHexDump(const std::string& file_name, const std::uint8_t* bytes, int count);

// Forgets the process-wide time reference, so that the next entry carries an
// absolute stamp again. For tests, which run many communications in one process.
void ResetLogTimeReference();

}  // namespace orgalink::link
