// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_export.h"

#include "exchange/archive_json.h"
#include "platform/file_contents.h"
#include "platform/file_system.h"

namespace orgalink::gui {

bool ExportArchiveJson(const ui::ArchiveView& view, const std::string& path, std::string& problem) {
  std::string json;
  if (!exchange::ArchiveToJson(view.Archive(), view.Charset(), json)) {
    problem = "a text could not be written as UTF-8";
    return false;
  }
  if (const int error = platform::ReplaceFileContents(path, json); error != 0) {
    problem = platform::ErrorText(error);
    return false;
  }
  return true;
}

}  // namespace orgalink::gui
