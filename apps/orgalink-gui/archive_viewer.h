#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "ui/archive_view.h"
#include "user_prompts.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace orgalink::gui {

class ArchiveTableModel;

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

 signals:
  void MainWindowRequested();

 private:
  void AddApplications(QTreeWidget& list);
  QWidget* MakeRecordsPane();
  QWidget* MakeButtonRow();

  UserPrompts& prompts_;
  QString path_;
  ui::ArchiveView view_;
  ArchiveTableModel* model_ = nullptr;
  QLabel* exportNote_ = nullptr;
  QPushButton* mainWindow_ = nullptr;
};

// Reads the archive at `path` (its text through the "code.dat" in
// `tableDirectory`) and shows it in a new viewer over `parent`, which owns
// it until it is closed.
ArchiveViewer* OpenArchiveViewer(QWidget* parent, UserPrompts& prompts,
                                 const std::string& tableDirectory, const QString& path);

}  // namespace orgalink::gui
