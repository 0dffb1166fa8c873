// SPDX-License-Identifier: GPL-3.0-or-later
// The records a merge takes from an archive, chosen as the viewer filters.

#include "session/archive_selection.h"

#include <algorithm>

#include "platform/charset.h"
#include "store/code_tables.h"
#include "store/record_codec.h"
#include "ui/archive_view.h"

namespace orgalink::session {

store::ArchiveRecords MatchingRecords(const store::CheckedArchive& checked,
                                      const std::string& tableDirectory, const std::string& text) {
  store::ArchiveRecords all;
  store::ReadArchiveRecords(checked.image, all);
  if (text.empty()) return all;
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
  store::LoadCodeTables(tableDirectory, outgoing, incoming);
  platform::Charset charset{std::string(platform::DefaultCharset)};
  store::RecordCodec codec(incoming, outgoing, charset);
  ui::ArchiveView view(checked, codec);
  store::ArchiveRecords matching;
  matching.device = all.device;
  // The view lists the sections in the archive's order, as `all` does.
  for (std::size_t index = 0; index < all.sections.size(); ++index) {
    view.Select(index);
    view.SetFilter(text);
    const auto& [application, records] = all.sections[index];
    store::RecordList kept;
    for (const ui::ArchiveView::Row& row : view.Rows()) {
      if (row.record >= 1 && row.record <= records.size()) kept.push_back(records[row.record - 1]);
    }
    matching.sections.emplace_back(application, std::move(kept));
  }
  return matching;
}

}  // namespace orgalink::session
