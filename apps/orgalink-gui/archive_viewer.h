// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/archive_view.h"
#include "user_prompts.h"

class QLabel;
class QPushButton;
class QTreeWidget;

class QTableView;

namespace orgalink::gui {

class ArchiveTableModel;

// Records chosen in a viewer to be put back on the organizer beside what it
// holds.
struct PutBackRequest {
  QString archive;  // the archive they come from, absolute
  std::uint8_t application = 0;
  std::string applicationName;
  std::vector<std::size_t> records;       // their places in the section, from 0
  std::vector<std::string> descriptions;  // a line of each, to confirm by
};

// A window that shows what an archive holds, and changes nothing: the
// applications with their record counts, the chosen one's records as a
// table narrowed by a filter, and Export... to the JSON that import reads.
// A damaged archive shows what the inspect command says about it above
// whatever could still be read.
class ArchiveViewer : public QWidget {
  Q_OBJECT

 public:
  // Titled with the file name of `path`.
  ArchiveViewer(QWidget* parent, UserPrompts& prompts, const QString& path, ui::ArchiveView view);
  ~ArchiveViewer() override;

  // Export...: asks for a JSON file beside the archive and writes it.
  void OnExport();

  // Shows or hides Main &Window..., which a viewer the program was started
  // with offers while the main window is hidden.
  void OfferMainWindow(bool offered);

  // Put back on organizer...: the records selected in the table, asked for.
  void OnPutBack();

 signals:
  void MainWindowRequested();
  void PutBackRequested(const orgalink::gui::PutBackRequest& request);

 private:
  void AddApplications(QTreeWidget& list);
  QWidget* MakeRecordsPane();
  QWidget* MakeButtonRow();

  UserPrompts& prompts_;
  QString path_;
  ui::ArchiveView view_;
  ArchiveTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QPushButton* putBack_ = nullptr;
  QLabel* exportNote_ = nullptr;
  QPushButton* mainWindow_ = nullptr;
};

// Reads the archive at `path` (its text through the "code.dat" in
// `tableDirectory`) and shows it in a new viewer over `parent`, which owns
// it until it is closed.
ArchiveViewer* OpenArchiveViewer(QWidget* parent, UserPrompts& prompts,
                                 const std::string& tableDirectory, const QString& path);

}  // namespace orgalink::gui
