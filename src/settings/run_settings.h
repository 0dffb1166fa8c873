// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "settings/com_devices.h"
#include "settings/run_mode.h"
#include "store/code_tables.h"

namespace orgalink::settings {

inline constexpr long kDefaultQuietWindow = 10;

// The settings, in one value from the settings file to the engine: the file
// fills what it holds, each front end lays its choices for one communication
// over that (the command line's options, the dialogs' choices), and
// ConfigureRun hands the result to the engine. What the file does not hold
// keeps the value given here.
struct RunSettings {
  // --- chosen for each communication --------------------------------------
  RunMode runMode = RunMode::Backup;
  std::string baudRate = "19200";
  std::string appliMode = "ALL";
  std::string fileName;  // the archive
  const store::SortTable* sortTable = nullptr;
  const store::CodeTable* codeTable = nullptr;  // the program-wide incoming table
  // Where a restore the user started keeps its safety copy of the
  // organizer's contents; empty for none (and always empty for the RunModes
  // run as such).
  std::string safetyArchive;

  // --- the settings file: [Path] -------------------------------------------
  std::string backupDir;  // the folder the archive dialogs open in
  std::string logFileName;

  // --- [Settings] ------------------------------------------------------------
  int comPort = 1;
  int echoBack = 1;
  int fileScramble = 1;
  int deviceCode = 2;
  long toCommand = 30000;     // ms; the file holds seconds
  long toDataPacket = 30000;  // ms; the file holds seconds
  long toMultiplier = 0;      // ms per byte
  int bkTelRecordsMin = 1;
  // How long the line must be quiet before a write, in ms. USB adapters
  // that hand over bytes in bursts need more than their burst gap (16 ms on
  // an FTDI).
  long quietWindow = kDefaultQuietWindow;
  // Whether the front ends' restore takes a safety copy first, and whether
  // the dialog program reads the organizer back after a restore.
  int safetyBackup = 1;
  int verifyRestore = 0;

  // --- [Ports] ---------------------------------------------------------------
  ComDevices comDevices;
};

}  // namespace orgalink::settings
