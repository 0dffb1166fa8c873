// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings file reader as the file's text, then
// writes changed values back into that text as a later run would, and
// checks that the text reads back with exactly the values meant: the
// changed keys as written, every other key as before. The text itself must
// survive parsing byte for byte.
//
//   settings_fuzzer fuzz/settings_corpus -max_total_time=60

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ini_document.h"
#include "platform/profile.h"
#include "ui/settings.h"

namespace {

using orgalink::platform::IniDocument;
using orgalink::settings::RunSettings;

const orgalink::ui::FileLocations kWhere{"/nonexistent/Orgalink.ini", "/nonexistent/",
                                         "/nonexistent/DATA"};

// What a run might change: the port, a device, the backup folder; and on a
// first run every default goes in where the text has no such key.
RunSettings Changed(const RunSettings& read) {
  RunSettings changed = read;
  changed.comPort = read.comPort == 3 ? 4 : 3;
  changed.comDevices.Set(2, "/dev/serial/by-id/usb-FTDI-if00-port0");
  changed.backupDir = "/home/me/organizer backups";
  return changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orgalink;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const IniDocument document = IniDocument::Parse(text);
  if (document.Text() != text) std::abort();
  const RunSettings read = ui::SettingsFromDocument(document, kWhere);
  const RunSettings changed = Changed(read);

  for (const bool firstRun : {false, true}) {
    IniDocument merged = document;
    platform::MergeChanges(merged, ui::SettingsChanges(read, changed, firstRun));
    const RunSettings again = ui::SettingsFromDocument(IniDocument::Parse(merged.Text()), kWhere);
    if (!ui::SettingsChanges(changed, again, false).empty()) std::abort();
  }
  return 0;
}
