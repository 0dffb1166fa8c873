// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/organizer_contents.h"
#include "sim/telephone_sort.h"

namespace orgalink::sim {

// How many records of each application a generated organizer holds; the
// expense category table is always there.
struct OrganizerSize {
  int telephone = 0;
  int schedule = 0;
  int anniversary = 0;
  int todo = 0;
  int memo = 0;
  int expense = 0;
};

// The committed sample ("sample_organizer.bkf").
inline constexpr OrganizerSize kSampleSize{24, 8, 5, 6, 6, 8};
// The benchmarks' reference organizer.
inline constexpr OrganizerSize kReferenceSize{2000, 500, 300, 300, 300, 600};

// Plausible records of every application, the same on every call for the
// same size: dated schedule entries, anniversaries, to-dos and expenses with
// their binary fields, Telephone entries (a few with accented names) in the
// organizer's order, and Memo records of 100 to 1023 bytes. With at most six
// memos their lengths are 120, 241, 242, 745, 746 and 1023 bytes, so that
// every way a record is cut into packets occurs. Every application's record
// stream stays under 256,000 bytes, the most the PC takes of one.
OrganizerContents GenerateOrganizer(const OrganizerSize& size, const TelephoneSort& sort);

}  // namespace orgalink::sim
