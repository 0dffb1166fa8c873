// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/code_tables.h"

namespace orgalink::sim {

// The organizer's own order of its Telephone records. A record sorts by its
// key: its bytes from the second on, up to the first zero byte and at most
// 49 of them, taken in the computer's codes (through the incoming half of
// "code.dat") and compared by the "sort.dat" weights of their bytes; where
// no weight differs the shorter key comes first. Whole records are never
// compared: two entries with the same name keep the order they came in.
class TelephoneSort {
 public:
  TelephoneSort(const store::CodeTable& incoming, const store::SortTable& weights)
      : incoming_(incoming), weights_(weights) {}

  // The tables of `directory` (with its trailing '/'), with the program's
  // defaults where a file is missing.
  static TelephoneSort FromDirectory(const std::string& directory);

  // True when `a` belongs before `b`.
  bool Before(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) const;

  // Where `record` goes among `records` (already in order): after every
  // record that does not sort after it.
  std::size_t InsertionPoint(const std::vector<std::vector<std::uint8_t>>& records,
                             const std::vector<std::uint8_t>& record) const;

 private:
  std::vector<std::uint8_t> Key(const std::vector<std::uint8_t>& record) const;

  store::CodeTable incoming_;
  store::SortTable weights_;
};

}  // namespace orgalink::sim
