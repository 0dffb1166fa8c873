// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui_fixture.h"

#include "platform/profile.h"

namespace orgalink::guitest {

GuiFolder::GuiFolder(const std::string& settingsFile) {
  paths_.files.settingsFile = dir_.File(settingsFile);
  paths_.files.logDirectory = dir_.File("");
  paths_.files.backupDir = dir_.File("DATA");
  paths_.programDirectory = dir_.File("");
  paths_.dataDirectory = ORGALINK_SOURCE_DIR "/data/";
}

void GuiFolder::AppendSetting(const std::string& section, const std::string& key,
                              const std::string& value) {
  platform::MergeIntoProfile(paths_.files.settingsFile, {{section, key, value}});
}

std::optional<std::string> GuiFolder::StoredSetting(const std::string& section,
                                                    const std::string& key) const {
  return platform::ReadProfile(paths_.files.settingsFile).document.Get(section, key);
}

}  // namespace orgalink::guitest

#include <QLabel>

namespace orgalink::guitest {

QStringList LabelTexts(const QWidget& parent) {
  QStringList texts;
  for (const QLabel* label : parent.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

bool WaitForAbort(const platform::CancelToken& abort) {
  platform::Clock& clock = platform::SystemClock::Instance();
  return abort.WaitUntilSet(clock, platform::Deadline(clock, 20000));
}

}  // namespace orgalink::guitest
