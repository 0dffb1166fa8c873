// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace orgalink::settings {

// What one communication does. The numbers are the RunModes users and
// scripts know; a RunMode travels as one byte, and any byte beyond the last
// one is an unknown RunMode, which the driver refuses.
enum class RunMode : std::uint8_t {
  Negotiate = 0,
  Backup = 1,
  Restore = 2,
  // 3 and 5 back up, 4 and 6 restore, each exactly as 1 and 2 do.
  Backup3 = 3,
  Restore4 = 4,
  Backup5 = 5,
  Restore6 = 6,
  // The backup and restore steps without negotiation or END_COMMUNICATION.
  BackupStep = 7,
  RestoreStep = 8,
  SendOneAppli = 9,
  SendAck = 10,
  SendNack = 11,
  SendEndCommunication = 12,
  SendDumpFile = 13,
  DeleteAllRecords = 14,
  ReceiveDumpFile = 15,
  ReceiveExpenseCategory = 16,
  SendExpenseCategory = 17,
  HandheldSide = 18,
};

inline constexpr RunMode kLastRunMode = RunMode::HandheldSide;

constexpr int ToInt(RunMode mode) {
  return static_cast<int>(mode);
}

// The RunMode a user's number names. A number that does not fit in the byte
// is an unknown RunMode, not whichever mode its low byte happens to name.
constexpr RunMode RunModeFromNumber(long number) {
  return static_cast<RunMode>(number >= 0 && number <= 0xFF ? number : 0xFF);
}

constexpr bool IsKnownRunMode(RunMode mode) {
  return mode <= kLastRunMode;
}

}  // namespace orgalink::settings
