// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include "ui/archive_view.h"

namespace orgalink::gui {

// The chosen application's records for a table view: a thin window onto
// ui::ArchiveView, which does the decoding, the columns and the filter.
class ArchiveTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ArchiveTableModel(ui::ArchiveView& view, QObject* parent);

  // Shows the records of the view's application at `index`.
  void Select(int index);
  // Keeps the rows that hold `text` in some cell.
  void SetFilter(const QString& text);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  ui::ArchiveView& view_;
};

}  // namespace orgalink::gui
