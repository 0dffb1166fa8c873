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

#include "platform/message_queue.h"

namespace orgalink::guitest {

QStringList LabelTexts(const QWidget& parent) {
  QStringList texts;
  for (const QLabel* label : parent.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

bool WaitForThreadMessage(std::uint32_t message) {
  platform::Clock& clock = platform::SystemClock::Instance();
  const auto queue = platform::CurrentThreadQueue();
  if (!queue->WaitMessage(clock, platform::Deadline(clock, 20000))) return false;
  return queue->Take()->id == message;
}

}  // namespace orgalink::guitest
