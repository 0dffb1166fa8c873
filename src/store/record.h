#pragma once

#include <cstddef>
#include <cstdint>

namespace orgalink::store {

// Ends every record; it never occurs inside one.
inline constexpr std::uint8_t RecordTerminator = 0xFF;
// The longest record; with its terminator it fills 1024 bytes.
inline constexpr int MaxRecordLength = 1023;
inline constexpr int MaxRecordsPerSlot = 65535;

// Length of the record at `data`: the position of its terminator, looked for
// only within the first 1024 bytes and never beyond `available` bytes.
// StoreInvalid when there is none.
int RecordLength(const std::uint8_t* data, std::size_t available);
// Copies the record at `data` with its terminator into `out` (room for 1024
// bytes); the result is the record's length, or StoreInvalid.
int CopyRecord(const std::uint8_t* data, std::size_t available, std::uint8_t* out);
// Number of terminators in a byte range: the records of a record stream.
std::size_t CountTerminators(const std::uint8_t* data, std::size_t length);

}  // namespace orgalink::store
