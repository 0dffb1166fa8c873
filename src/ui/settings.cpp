// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <set>

#include "platform/private_folders.h"

namespace orgalink::ui {

using platform::ProfileInt;
using platform::ProfileString;
using settings::kDefaultQuietWindow;
using settings::RunSettings;

namespace {

std::string ComKey(int port) {
  return "COM" + std::to_string(port);
}

// The port number of a key "COM<n>" as the port's own key spells it
// (without regard to case); nothing for any other key.
std::optional<int> PortOfKey(const std::string& key) {
  int port = 0;
  const char* digits = key.data() + std::min<std::size_t>(3, key.size());
  const auto [end, error] = std::from_chars(digits, key.data() + key.size(), port);
  if (error != std::errc() || end != key.data() + key.size()) return std::nullopt;
  const std::string canonical = ComKey(port);
  if (canonical.size() != key.size()) return std::nullopt;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(key[i])) != canonical[i]) return std::nullopt;
  }
  return port;
}

std::vector<platform::ProfileChange> PortChanges(const settings::ComDevices& before,
                                                 const settings::ComDevices& now) {
  std::set<int> ports;
  for (const int port : before.Named()) ports.insert(port);
  for (const int port : now.Named()) ports.insert(port);
  std::vector<platform::ProfileChange> changes;
  for (const int port : ports) {
    if (now.For(port) != before.For(port))
      changes.push_back({"Ports", ComKey(port), now.For(port)});
  }
  return changes;
}

// One key as a write back puts it into the file.
struct KeyText {
  const char* section;
  std::string key;
  std::string text;
  bool alwaysWritten;  // written back even when unchanged
};

std::vector<KeyText> KeyTexts(const RunSettings& s) {
  auto number = [](long value) { return std::to_string(value); };
  // Held values are whole seconds times 1000, so this gives back what was
  // read, a negative value included (an unsigned division would turn -5 into
  // a huge number in the file).
  auto seconds = [](long ms) { return std::to_string(ms / 1000); };
  std::vector<KeyText> keys = {
      {"Path", "BackupDir", s.backupDir, true},
      {"Path", "LogFileName", s.logFileName, !s.logFileName.empty()},
      {"Settings", "COMPort", number(s.comPort), true},
      {"Settings", "EchoBack", number(s.echoBack), true},
      {"Settings", "FileScramble", number(s.fileScramble), s.fileScramble == 0},
      {"Settings", "DeviceCode", number(s.deviceCode), true},
      {"Settings", "TOCommand", seconds(s.toCommand), true},
      {"Settings", "TODataPacket", seconds(s.toDataPacket), true},
      {"Settings", "TOMultiplier", number(s.toMultiplier), true},
      {"Settings", "BKTelRecordsMin", number(s.bkTelRecordsMin), true},
      {"Settings", "QuietWindow", number(s.quietWindow), s.quietWindow != kDefaultQuietWindow},
      {"Settings", "SafetyBackup", number(s.safetyBackup), s.safetyBackup != 1},
      {"Settings", "VerifyRestore", number(s.verifyRestore), s.verifyRestore != 0},
  };
  return keys;
}

}  // namespace

RunSettings SettingsFromDocument(const platform::IniDocument& document,
                                 const FileLocations& where) {
  RunSettings s;
  s.backupDir = ProfileString(document, "Path", "BackupDir", "");
  if (s.backupDir.empty()) s.backupDir = where.backupDir;

  // A bare file name goes to the log folder; a name with a folder, written
  // with '/' or Windows-style with '\\', is taken as it stands.
  s.logFileName = ProfileString(document, "Path", "LogFileName", "");
  if (!s.logFileName.empty() && s.logFileName.find_first_of("/\\") == std::string::npos) {
    s.logFileName = where.logDirectory + s.logFileName;
  }
  s.comPort = ProfileInt(document, "Settings", "COMPort", s.comPort);
  s.echoBack = ProfileInt(document, "Settings", "EchoBack", s.echoBack);
  s.fileScramble = ProfileInt(document, "Settings", "FileScramble", s.fileScramble);
  s.deviceCode = ProfileInt(document, "Settings", "DeviceCode", s.deviceCode);
  s.toCommand = ProfileInt(document, "Settings", "TOCommand", 30) * 1000L;
  s.toDataPacket = ProfileInt(document, "Settings", "TODataPacket", 30) * 1000L;
  s.toMultiplier = ProfileInt(document, "Settings", "TOMultiplier", 0);
  s.bkTelRecordsMin = ProfileInt(document, "Settings", "BKTelRecordsMin", s.bkTelRecordsMin);
  s.quietWindow = ProfileInt(document, "Settings", "QuietWindow", kDefaultQuietWindow);
  s.safetyBackup = ProfileInt(document, "Settings", "SafetyBackup", s.safetyBackup);
  s.verifyRestore = ProfileInt(document, "Settings", "VerifyRestore", s.verifyRestore);
  for (const std::string& key : document.Keys("Ports")) {
    const std::optional<int> port = PortOfKey(key);
    if (port) s.comDevices.Set(*port, ProfileString(document, "Ports", key, ""));
  }
  return s;
}

std::vector<platform::ProfileChange> SettingsChanges(const RunSettings& before,
                                                     const RunSettings& now, bool firstRun) {
  const std::vector<KeyText> old = KeyTexts(before);
  const std::vector<KeyText> current = KeyTexts(now);
  std::vector<platform::ProfileChange> changes;
  for (std::size_t i = 0; i < current.size(); ++i) {
    const KeyText& key = current[i];
    const bool changed = key.text != old[i].text;
    if (changed || (firstRun && key.alwaysWritten)) {
      changes.push_back({key.section, key.key, key.text, !changed});
    }
  }
  // [Ports] only ever holds what was chosen.
  for (platform::ProfileChange& change : PortChanges(before.comDevices, now.comDevices)) {
    changes.push_back(std::move(change));
  }
  return changes;
}

void CreateBackupDir(const RunSettings& settings) {
  platform::MakePrivateFolders(settings.backupDir);  // a failure shows when an archive is written
}

void CreateLogFolder(const FileLocations& where, const RunSettings& settings) {
  const std::string& folder = where.logDirectory;
  if (!folder.empty() && settings.logFileName.rfind(folder, 0) == 0) {
    platform::MakePrivateFolders(folder);
  }
}

}  // namespace orgalink::ui
