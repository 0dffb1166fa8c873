// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orgalink::store {

// Ends every record; it never occurs inside one.
inline constexpr std::uint8_t RecordTerminator = 0xFF;
// The longest record; with its terminator it fills 1024 bytes.
inline constexpr int MaxRecordLength = 1023;
inline constexpr int MaxRecordsPerSlot = 65535;

// Length of the record at the start of `data`: the position of its
// terminator, looked for only within the first 1024 bytes of `data`.
// StoreInvalid when there is none.
int RecordLength(std::span<const std::uint8_t> data);
// Copies the record at the start of `data` with its terminator into `out`;
// the result is the record's length, or StoreInvalid.
int CopyRecord(std::span<const std::uint8_t> data,
               std::span<std::uint8_t, MaxRecordLength + 1> out);
// Number of terminators in a byte range: the records of a record stream.
std::size_t CountTerminators(std::span<const std::uint8_t> data);

}  // namespace orgalink::store
