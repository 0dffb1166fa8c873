// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_table_model.h"

#include <QFontDatabase>

namespace orgalink::gui {

namespace {

constexpr const char* kKeptWholeTip =
    "This record's text would not come back byte for byte, so the whole record is shown as hex.";

}  // namespace

ArchiveTableModel::ArchiveTableModel(ui::ArchiveView& view, QObject* parent)
    : QAbstractTableModel(parent), view_(view) {}

void ArchiveTableModel::Select(int index) {
  beginResetModel();
  view_.Select(index < 0 ? view_.Applications().size() : static_cast<std::size_t>(index));
  endResetModel();
}

void ArchiveTableModel::SetFilter(const QString& text) {
  beginResetModel();
  view_.SetFilter(text.toStdString());
  endResetModel();
}

int ArchiveTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(view_.Rows().size());
}

int ArchiveTableModel::columnCount(const QModelIndex& parent) const {
  // No application chosen: no columns, not even the hex one.
  const std::optional<std::size_t> selected = view_.Selected();
  if (parent.isValid() || !selected || *selected >= view_.Applications().size()) return 0;
  return static_cast<int>(view_.Columns().size());
}

QVariant ArchiveTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ui::ArchiveView::Row& row = view_.Rows()[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(row.cells.at(static_cast<std::size_t>(index.column())));
    case Qt::ToolTipRole:
      // The whole text of a cell too narrow for it.
      if (row.readable) return data(index, Qt::DisplayRole);
      return QString::fromLatin1(kKeptWholeTip);
    case Qt::FontRole:
      if (index.column() == 0) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
      return {};
    default:
      return {};
  }
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Vertical) {
    if (section >= rowCount()) return {};
    return static_cast<qulonglong>(view_.Rows()[static_cast<std::size_t>(section)].record);
  }
  const std::vector<std::string> columns = view_.Columns();
  if (static_cast<std::size_t>(section) >= columns.size()) return {};
  return QString::fromStdString(columns[static_cast<std::size_t>(section)]);
}

}  // namespace orgalink::gui
