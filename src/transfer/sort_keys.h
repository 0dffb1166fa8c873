// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "store/code_tables.h"

namespace orgalink::transfer {

// Orders two zero-terminated keys by the weights of their bytes: -1 when `a`
// sorts first, 1 when `b` does, 0 when equal. Where no weight differs the
// shorter key sorts first. Without a table every byte weighs 0.
int CompareSortKeys(const std::uint8_t* a, const std::uint8_t* b, const store::SortTable* weights);

// Rewrites the bytes of `key` through the organizer-to-computer table (bytes
// 0x7F..0xFE only). Without a table those bytes become spaces.
void TranslateCodes(std::span<std::uint8_t> key, const store::CodeTable* codeTable);

}  // namespace orgalink::transfer
