// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archive_view.h"

#include <algorithm>
#include <utility>

#include "platform/text_case.h"
#include "store/archive.h"
#include "store/checked_archive.h"
#include "store/hex_text.h"

namespace orgalink::ui {

namespace {

ArchiveView::Row RowOf(const store::ReadableRecord& record, std::size_t number,
                       std::size_t fields) {
  ArchiveView::Row row;
  row.record = number;
  row.readable = record.readable;
  row.cells.push_back(store::ToHex(record.readable ? record.prefix : record.bytes));
  if (record.readable)
    row.cells.insert(row.cells.end(), record.fields.begin(), record.fields.end());
  row.cells.resize(fields + 1);
  return row;
}

store::CheckedArchive Checked(std::span<const std::uint8_t> file) {
  store::CheckedArchive checked;
  store::CheckArchiveBytes(file, checked);
  return checked;
}

}  // namespace

ArchiveView::ArchiveView(std::span<const std::uint8_t> file, store::RecordCodec& codec)
    : ArchiveView(Checked(file), codec) {}

ArchiveView::ArchiveView(const store::CheckedArchive& checked, store::RecordCodec& codec)
    : charset_(codec.Charset().Name()) {
  if (!checked.message.empty()) report_ = checked.message + "\n";
  if (!checked.parsed) return;
  store::ReadArchive(checked.image, codec, archive_);
  readable_ = true;
  for (const store::ReadableSection& section : archive_.sections) {
    applications_.push_back(
        {store::ApplicationName(section.application), section.application, section.records.size()});
  }
}

ArchiveView ArchiveView::Unreadable(std::string report) {
  ArchiveView view;
  view.report_ = std::move(report);
  return view;
}

void ArchiveView::Select(std::size_t index) {
  selected_ = index;
  rows_.clear();
  lowered_.clear();
  fields_ = 0;
  if (index >= archive_.sections.size()) return;
  const std::vector<store::ReadableRecord>& records = archive_.sections[index].records;
  for (const store::ReadableRecord& record : records) {
    fields_ = std::max(fields_, record.fields.size());
  }
  for (std::size_t r = 0; r < records.size(); ++r) {
    rows_.push_back(RowOf(records[r], r + 1, fields_));
    std::vector<std::string>& lowered = lowered_.emplace_back();
    for (const std::string& cell : rows_.back().cells) lowered.push_back(platform::LowerCase(cell));
  }
  Narrow();
}

std::vector<std::string> ArchiveView::Columns() const {
  std::vector<std::string> columns = {"Binary (hex)"};
  for (std::size_t i = 1; i <= fields_; ++i) columns.push_back("Field " + std::to_string(i));
  return columns;
}

void ArchiveView::SetFilter(const std::string& text) {
  filter_ = platform::LowerCase(text);
  Narrow();
}

void ArchiveView::Narrow() {
  visible_.clear();
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const std::vector<std::string>& cells = lowered_[r];
    if (std::any_of(cells.begin(), cells.end(), [this](const std::string& cell) {
          return cell.find(filter_) != std::string::npos;
        })) {
      visible_.push_back(rows_[r]);
    }
  }
}

std::string RowDescription(const ArchiveView::Row& row, std::size_t width) {
  std::string line;
  for (std::size_t i = 1; i < row.cells.size(); ++i) {
    if (row.cells[i].empty()) continue;
    if (!line.empty()) line += " | ";
    line += row.cells[i];
  }
  if (line.empty() && !row.cells.empty()) line = row.cells[0];
  // Counted in characters, not bytes: a cut must not split one in two.
  std::size_t characters = 0;
  for (std::size_t at = 0; at < line.size(); ++at) {
    if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) continue;
    if (++characters > width) return line.substr(0, at) + "...";
  }
  return line;
}

}  // namespace orgalink::ui
