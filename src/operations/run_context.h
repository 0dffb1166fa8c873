// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_engine.h"
#include "store/appli_store.h"
#include "transfer/telephone_check.h"

namespace orgalink::operations {

struct PlannedRestore;

// A restore the user starts first receives what the organizer holds, in the
// same communication, and writes it to an archive of its own; only then does
// it delete anything. What the front end needs to tell the user afterwards
// is kept here.
struct RestoreSafety {
  // Where the copy goes (the name is numbered on when taken); empty for a
  // restore without one. Once written, the name it was written under.
  std::string archive;
  bool written = false;
  // The copy could not be taken or written: the restore stopped before it
  // deleted anything.
  bool failed = false;
  // Why the copy could not be written (the status tells any other cause).
  std::string writeError;
  // The restore had begun to change the organizer: its first
  // DELETE_ALL_RECORDS, or the expense category table that replaces the
  // organizer's.
  bool deletionsBegun = false;
};

// What one communication works on beyond the protocol: the record store, the
// archive, the current application and the settings of the data checks. The
// engine speaks to the organizer; the operations decide what to say with
// these.
struct RunContext {
  explicit RunContext(link::LinkEngine& link_engine) : engine(link_engine) {}

  link::LinkEngine& engine;
  // The communication's store; RunCommunication refuses to run without one.
  store::AppliStore* store = nullptr;
  // The archive of a backup or restore.
  std::string fileName;
  // The backup's archive name was chosen for the user ("20261210.bkf"), not
  // by them: the archive then never replaces a file, and goes under the next
  // numbered name ("20261210-2.bkf") when its own is taken by the time it is
  // written; fileName then holds the name used.
  bool numberedArchive = false;
  // The application a single-application RunMode addresses (AppliMode).
  int appliKind = 0;
  // Whether a written archive has its body inverted.
  bool fileScramble = true;
  // The tables and minimum of the base model's Telephone completeness check.
  transfer::TelephoneCheck telephone;
  // A base model's Telephone transfer of 1 to telephone.minRecords records
  // is asked for a second time instead of being refused as an early stop,
  // and taken when both answers are the same. Only before the first record
  // is sent may the organizer be asked twice (the safety copy).
  bool confirmShortTelephone = false;
  // Folder of the per-application dump files (empty for the current
  // folder); whoever builds the context chooses it, the command line the
  // program's own folder.
  std::string dumpDirectory;
  // The copy of the organizer's contents that a restore takes before it
  // empties anything, and how far the restore got.
  RestoreSafety safety;
  // When set, a backup also keeps every application's record stream here
  // exactly as it came over the line, in the organizer's codes (what a
  // verification compares), by application number.
  std::array<std::vector<std::uint8_t>, 7>* received = nullptr;
  // A restore that merges, or only tells what it would do, instead of
  // putting the archive back whole (merge_restore.h); null for the latter.
  PlannedRestore* planned = nullptr;
};

// Stores the device code in the engine and hands it to the linked store;
// without a store the miss is logged.
void SetDeviceCode(RunContext& run, int deviceCode);

// Selects the current application by its AppliMode text, matched exactly;
// any other text keeps the current one and is logged.
void SetAppliMode(RunContext& run, std::string_view text);

}  // namespace orgalink::operations
