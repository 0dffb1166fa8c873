// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ini_document.h"

namespace orgalink::ui {

// The values a numeric setting may take, for the settings file's key and the
// command-line option that overrides it alike. Outside it a communication
// cannot work: a time-out of 0 s fails every wait at once, a negative one
// never waits, and a quiet window as long as the second between the
// organizer's offers of a link never finds the line quiet (1000 ms fails
// the negotiation; half of it leaves room).
struct SettingRange {
  const char* key;     // as the settings file spells it
  const char* option;  // the command line's option
  long low;
  long high;
  const char* unit;  // what the numbers count, for the message
};

inline constexpr SettingRange kTOCommandRange{"TOCommand", "--to-command", 1, 3600, "seconds"};
inline constexpr SettingRange kTODataPacketRange{"TODataPacket", "--to-data", 1, 3600, "seconds"};
inline constexpr SettingRange kTOMultiplierRange{"TOMultiplier", "--to-multiplier", 0, 1000,
                                                 "ms per byte"};
inline constexpr SettingRange kQuietWindowRange{"QuietWindow", "--quiet-window", 0, 500, "ms"};
inline constexpr SettingRange kDeviceCodeRange{"DeviceCode", "--device-code", 1, 2, ""};

// "1 to 3600 seconds", or "1 or 2" for a range of two.
std::string RangeText(const SettingRange& range);

// What is wrong with `value` for the setting ("-5 is not 1 to 3600
// seconds"); nothing when it lies in the range.
std::optional<std::string> OutOfRange(const SettingRange& range, long value);

// The values of a settings document that the program cannot take, one
// sentence each, naming the key and its text as written, for example
// "TOCommand=abc is not a whole number" or "QuietWindow=100000 is not 0 to
// 1000 ms". Every integer key must hold a whole number (an empty value
// counts as absent, as it always has); the keys of the ranges above must lie
// in them. The switches (EchoBack, FileScramble, SafetyBackup,
// VerifyRestore) keep their reading of any number but 0 as on, COMPort is
// checked when the port opens, and BKTelRecordsMin takes any number (0 and
// below switch the Telephone count check off). Empty when all is well.
std::vector<std::string> SettingsValueProblems(const platform::IniDocument& document);

}  // namespace orgalink::ui
