#include "ui/settings.h"

#include <filesystem>

#include "platform/profile.h"

namespace orgalink::ui {

using platform::GetProfileInt;
using platform::GetProfileString;
using platform::WriteProfileString;

Settings ReadSettings(const FileLocations& where) {
  const std::string& iniPath = where.settingsFile;
  Settings s;
  s.backupDir = GetProfileString(iniPath, "Path", "BackupDir", "");
  if (s.backupDir.empty()) s.backupDir = where.backupDir;

  // A bare file name goes to the log folder; a name with a folder, written
  // with '/' or Windows-style with '\\', is taken as it stands.
  s.logFileName = GetProfileString(iniPath, "Path", "LogFileName", "");
  if (!s.logFileName.empty() && s.logFileName.find_first_of("/\\") == std::string::npos) {
    s.logFileName = where.logDirectory + s.logFileName;
  }
  s.comPort = GetProfileInt(iniPath, "Settings", "COMPort", 1);
  s.echoBack = GetProfileInt(iniPath, "Settings", "EchoBack", 1);
  s.fileScramble = GetProfileInt(iniPath, "Settings", "FileScramble", 1);
  s.deviceCode = GetProfileInt(iniPath, "Settings", "DeviceCode", 2);
  s.toCommand = GetProfileInt(iniPath, "Settings", "TOCommand", 30) * 1000L;
  s.toDataPacket = GetProfileInt(iniPath, "Settings", "TODataPacket", 30) * 1000L;
  s.toMultiplier = GetProfileInt(iniPath, "Settings", "TOMultiplier", 0);
  s.bkTelRecordsMin = GetProfileInt(iniPath, "Settings", "BKTelRecordsMin", 1);
  s.quietWindow = GetProfileInt(iniPath, "Settings", "QuietWindow", kDefaultQuietWindow);
  return s;
}

void CreateBackupDir(const Settings& settings) {
  std::error_code ignored;
  std::filesystem::create_directories(settings.backupDir, ignored);
}

void WriteSettings(const std::string& iniPath, const Settings& s) {
  auto write_int = [&](const char* key, long value) {
    WriteProfileString(iniPath, "Settings", key, std::to_string(value));
  };
  // Held values are whole seconds times 1000, so this gives back what was
  // read, a negative value included (an unsigned division would turn -5 into
  // a huge number in the file).
  auto seconds = [](long ms) { return ms / 1000; };
  // Outside a portable copy the settings live in a folder of their own,
  // which the first write back creates.
  std::error_code ignored;
  const auto folder = std::filesystem::path(iniPath).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  WriteProfileString(iniPath, "Path", "BackupDir", s.backupDir);
  if (!s.logFileName.empty()) WriteProfileString(iniPath, "Path", "LogFileName", s.logFileName);
  write_int("COMPort", s.comPort);
  write_int("EchoBack", s.echoBack);
  if (s.fileScramble == 0) write_int("FileScramble", 0);
  write_int("DeviceCode", s.deviceCode);
  write_int("TOCommand", seconds(s.toCommand));
  write_int("TODataPacket", seconds(s.toDataPacket));
  write_int("TOMultiplier", s.toMultiplier);
  write_int("BKTelRecordsMin", s.bkTelRecordsMin);
  if (s.quietWindow != kDefaultQuietWindow) write_int("QuietWindow", s.quietWindow);
}

std::string DevicePathForPort(const std::string& iniPath, int port) {
  const std::string fallback = "/dev/ttyS" + std::to_string(port - 1);
  return GetProfileString(iniPath, "Ports", "COM" + std::to_string(port), fallback);
}

}  // namespace orgalink::ui
