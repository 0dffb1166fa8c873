// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archive_view_file.h"

#include "platform/charset.h"
#include "store/checked_archive.h"
#include "store/code_tables.h"
#include "store/record_codec.h"

namespace orgalink::ui {

ArchiveView ViewArchiveFile(const std::string& path, const std::string& tableDirectory) {
  store::CheckedArchive checked;
  store::ReadArchiveFile(path, checked);
  if (!checked.read) return ArchiveView::Unreadable(checked.message + "\n");
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
  store::LoadCodeTables(tableDirectory, outgoing, incoming);
  platform::Charset charset{std::string(platform::DefaultCharset)};
  store::RecordCodec codec(incoming, outgoing, charset);
  return ArchiveView(checked, codec);
}

}  // namespace orgalink::ui
