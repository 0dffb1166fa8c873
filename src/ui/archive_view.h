// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/checked_archive.h"
#include "store/readable_archive.h"
#include "store/record_codec.h"

namespace orgalink::ui {

// An archive as the viewer shows it, without a window: its applications
// with their record counts, and the chosen application's records as rows
// of a table: a hex column for the binary fields, then one column per text
// field, narrowed by a filter.
class ArchiveView {
 public:
  struct Application {
    std::string name;
    std::uint8_t code = 0;
    std::size_t records = 0;
  };

  struct Row {
    // 1 for the section's first record.
    std::size_t record = 0;
    // False for a record kept whole: its hex column holds all its bytes.
    bool readable = true;
    // The hex column, then the text fields; as many as Columns().
    std::vector<std::string> cells;
  };

  // Decodes `file` with `codec`. A damaged archive, or one beyond what the
  // organizer holds, shows what every command says about it
  // (store::CheckArchiveBytes), and whatever applications could be read.
  ArchiveView(std::span<const std::uint8_t> file, store::RecordCodec& codec);
  // The same of an archive already read and judged.
  ArchiveView(const store::CheckedArchive& checked, store::RecordCodec& codec);
  // A file that could not be read: the view holds only `report`, what the
  // inspect command says of it.
  static ArchiveView Unreadable(std::string report);

  bool Damaged() const { return !report_.empty(); }
  // The inspect command's words on a damaged archive; empty for a sound one.
  const std::string& Report() const { return report_; }
  // True when the sections could be read, so that there is something to
  // export; a refused archive may still be readable (one held twice), and
  // its export is the way to mend it.
  bool Readable() const { return readable_; }
  // Everything read, for an export, and the character set of its text.
  const store::ReadableArchive& Archive() const { return archive_; }
  const std::string& Charset() const { return charset_; }
  const std::vector<Application>& Applications() const { return applications_; }

  // Shows the records of Applications()[index]; an index past the end shows
  // none.
  void Select(std::size_t index);
  std::optional<std::size_t> Selected() const { return selected_; }
  // "Binary (hex)", then "Field 1" .. "Field n" for the most fields a record
  // of the chosen application has.
  std::vector<std::string> Columns() const;
  // Keeps the rows of which some cell holds `text`, case aside; an empty
  // text keeps all.
  void SetFilter(const std::string& text);
  const std::vector<Row>& Rows() const { return visible_; }

 private:
  ArchiveView() = default;
  void Narrow();

  store::ReadableArchive archive_;
  std::string charset_;
  bool readable_ = false;
  std::string report_;
  std::vector<Application> applications_;
  std::optional<std::size_t> selected_;
  std::size_t fields_ = 0;
  std::vector<Row> rows_;
  // The cells of each row in lower case, for the filter.
  std::vector<std::vector<std::string>> lowered_;
  std::string filter_;
  std::vector<Row> visible_;
};

// One line that tells a row's record apart, for a confirmation: its text
// fields that are not empty, joined by " | " (the hex of one without any),
// cut to about `width` characters with "...".
std::string RowDescription(const ArchiveView::Row& row, std::size_t width = 60);

}  // namespace orgalink::ui
