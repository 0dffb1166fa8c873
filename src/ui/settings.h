#pragma once

#include <string>

#include "ui/file_locations.h"

namespace orgalink::ui {

inline constexpr int kDefaultQuietWindow = 10;

// The settings file "Orgalink.ini" (where it lies: LocateFiles), as held while
// the program runs. Time-outs are held in milliseconds and stored in seconds;
// the quiet window is in milliseconds in both.
struct Settings {
  std::string backupDir;
  std::string logFileName;
  int comPort = 1;
  int echoBack = 1;
  int fileScramble = 1;
  int deviceCode = 2;
  long toCommand = 30000;
  long toDataPacket = 30000;
  long toMultiplier = 0;
  int bkTelRecordsMin = 1;
  // How long the line must be quiet before a write. USB adapters that hand
  // over bytes in bursts need more than their burst gap (16 ms on an FTDI).
  long quietWindow = kDefaultQuietWindow;
};

inline constexpr const char* kSettingsFileName = "Orgalink.ini";

// Reads every key of `where.settingsFile` with its default. An empty BackupDir
// becomes `where.backupDir`; a LogFileName without a folder separator ('/' or
// '\\') is placed in `where.logDirectory`.
Settings ReadSettings(const FileLocations& where);

// Creates the backup folder the archive dialogs open in, with the folders
// above it, ignoring failures (it may exist, or lie where nobody may write).
void CreateBackupDir(const Settings& settings);

// Writes the settings back as the program does at exit: LogFileName only when
// set, FileScramble only when it is off, QuietWindow only when not 10. The
// settings file's folder is made first when it is missing; a failed write
// goes unreported.
void WriteSettings(const std::string& iniPath, const Settings& settings);

// The device behind "COM<port>": key COM<port> of section [Ports], by default
// /dev/ttyS0 .. /dev/ttyS3 for COM1 .. COM4.
std::string DevicePathForPort(const std::string& iniPath, int port);

}  // namespace orgalink::ui
