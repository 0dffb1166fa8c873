// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "archive_export.h"
#include "archive_table_model.h"
#include "texts.h"
#include "ui/archive_view_file.h"

namespace orgalink::gui {

namespace {

constexpr int kWidth = 920;
constexpr int kHeight = 600;
constexpr int kWidestColumn = 360;
constexpr int kReportLines = 12;

QPlainTextEdit* MakeReport(QWidget& parent, const std::string& report) {
  auto* edit = new QPlainTextEdit(&parent);
  edit->setObjectName(QStringLiteral("damageReport"));
  edit->setReadOnly(true);
  edit->setPlainText(QString::fromStdString(report).trimmed());
  edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // As tall as the report, up to a few lines; a longer one scrolls.
  const int lines = std::clamp(static_cast<int>(edit->document()->lineCount()), 1, kReportLines);
  const int margins =
      2 * (edit->frameWidth() + static_cast<int>(edit->document()->documentMargin()));
  // Half a line more, for the leading the edit puts around its block.
  edit->setFixedHeight(edit->fontMetrics().lineSpacing() * (2 * lines + 1) / 2 + margins);
  return edit;
}

}  // namespace

ArchiveViewer::ArchiveViewer(QWidget* parent, UserPrompts& prompts, const QString& path,
                             ui::ArchiveView view)
    : QWidget(parent, Qt::Window), prompts_(prompts), path_(path), view_(std::move(view)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QFileInfo(path_).fileName());
  model_ = new ArchiveTableModel(view_, this);

  auto* applications = new QTreeWidget(this);
  applications->setObjectName(QStringLiteral("applications"));
  AddApplications(*applications);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(applications);
  splitter->addWidget(MakeRecordsPane());
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, kWidth - 220});

  auto* layout = new QVBoxLayout(this);
  if (view_.Damaged()) layout->addWidget(MakeReport(*this, view_.Report()));
  layout->addWidget(splitter, 1);
  layout->addWidget(MakeButtonRow());
  resize(kWidth, kHeight);

  connect(applications, &QTreeWidget::currentItemChanged, this,
          [this, applications](QTreeWidgetItem* item) {
            model_->Select(item == nullptr ? -1 : applications->indexOfTopLevelItem(item));
          });
  if (applications->topLevelItemCount() > 0) {
    applications->setCurrentItem(applications->topLevelItem(0));
  }
}

// The table still asks its model for headers while QWidget's destructor
// closes the window, after view_, which the model reads, is gone: the model
// goes first, and the table falls back to an empty one.
ArchiveViewer::~ArchiveViewer() {
  delete model_;
}

void ArchiveViewer::AddApplications(QTreeWidget& list) {
  list.setColumnCount(2);
  list.setHeaderLabels({QStringLiteral("Application"), QStringLiteral("Records")});
  list.setRootIsDecorated(false);
  for (const ui::ArchiveView::Application& application : view_.Applications()) {
    auto* item = new QTreeWidgetItem(
        &list, {QString::fromStdString(application.name), QString::number(application.records)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  list.resizeColumnToContents(0);
}

QWidget* ArchiveViewer::MakeRecordsPane() {
  auto* pane = new QWidget(this);
  auto* filter = new QLineEdit(pane);
  filter->setObjectName(QStringLiteral("filter"));
  filter->setPlaceholderText(QStringLiteral("Filter: show only the records that contain..."));
  filter->setClearButtonEnabled(true);
  connect(filter, &QLineEdit::textChanged, model_, &ArchiveTableModel::SetFilter);

  auto* table = new QTableView(pane);
  table_ = table;
  table->setObjectName(QStringLiteral("records"));
  table->setModel(model_);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Several records at once, to put back together.
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setWordWrap(false);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);

  // New columns come with each application; fit them to what they show,
  // but a memo's one long field only so far (its tooltip shows it whole,
  // and the column can still be widened by hand).
  connect(model_, &QAbstractItemModel::modelReset, table, [table] {
    table->resizeColumnsToContents();
    for (int column = 0; column < table->model()->columnCount(); ++column) {
      table->setColumnWidth(column, std::min(table->columnWidth(column), kWidestColumn));
    }
  });

  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(filter);
  layout->addWidget(table, 1);
  return pane;
}

QWidget* ArchiveViewer::MakeButtonRow() {
  auto* row = new QWidget(this);
  exportNote_ = new QLabel(row);
  exportNote_->setObjectName(QStringLiteral("exportNote"));
  auto* exportButton = new QPushButton(QStringLiteral("&Export..."), row);
  exportButton->setObjectName(QStringLiteral("exportButton"));
  exportButton->setEnabled(view_.Readable());
  connect(exportButton, &QPushButton::clicked, this, &ArchiveViewer::OnExport);
  // Only a sound archive's records go back: a damaged one may hold records
  // the organizer never wrote.
  putBack_ = new QPushButton(QStringLiteral("&Put back on organizer..."), row);
  putBack_->setObjectName(QStringLiteral("putBackButton"));
  putBack_->setEnabled(false);
  connect(putBack_, &QPushButton::clicked, this, &ArchiveViewer::OnPutBack);
  const auto selectionChanged = [this] {
    putBack_->setEnabled(!view_.Damaged() && table_->selectionModel()->hasSelection());
  };
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionChanged);
  connect(model_, &QAbstractItemModel::modelReset, this, selectionChanged);
  mainWindow_ = new QPushButton(QStringLiteral("Main &Window..."), row);
  mainWindow_->setObjectName(QStringLiteral("mainWindowButton"));
  mainWindow_->hide();
  connect(mainWindow_, &QPushButton::clicked, this, &ArchiveViewer::MainWindowRequested);
  auto* close = new QPushButton(QStringLiteral("&Close"), row);
  close->setObjectName(QStringLiteral("closeButton"));
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(exportNote_, 1);
  layout->addWidget(mainWindow_);
  layout->addWidget(putBack_);
  layout->addWidget(exportButton);
  layout->addWidget(close);
  return row;
}

void ArchiveViewer::OfferMainWindow(bool offered) {
  mainWindow_->setVisible(offered);
}

void ArchiveViewer::OnPutBack() {
  const std::optional<std::size_t> selected = view_.Selected();
  if (!selected || *selected >= view_.Applications().size()) return;
  const ui::ArchiveView::Application& application = view_.Applications()[*selected];
  PutBackRequest request{path_, application.code, application.name, {}, {}};
  QModelIndexList rows = table_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end());
  for (const QModelIndex& index : rows) {
    const ui::ArchiveView::Row& row = view_.Rows().at(static_cast<std::size_t>(index.row()));
    request.records.push_back(row.record - 1);
    request.descriptions.push_back(ui::RowDescription(row));
  }
  if (!request.records.empty()) emit PutBackRequested(request);
}

void ArchiveViewer::OnExport() {
  const QFileInfo archive(path_);
  FileRequest request;
  request.folder = archive.absolutePath();
  request.proposedName = archive.completeBaseName() + QStringLiteral(".json");
  request.kind = FileKind::Json;
  const QString chosen = prompts_.AskSavePath(this, request);
  if (chosen.isEmpty()) return;
  std::string problem;
  if (!ExportArchiveJson(view_, QFile::encodeName(chosen).toStdString(), problem)) {
    prompts_.ShowBox(
        this, {QStringLiteral("Cannot write %1: %2").arg(chosen, QString::fromStdString(problem)),
               QString::fromLatin1(kCaptionError), BoxIcon::Exclamation});
    return;
  }
  exportNote_->setText(QStringLiteral("Exported to %1").arg(chosen));
}

ArchiveViewer* OpenArchiveViewer(QWidget* parent, UserPrompts& prompts,
                                 const std::string& tableDirectory, const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  auto* viewer = new ArchiveViewer(
      parent, prompts, absolute,
      ui::ViewArchiveFile(QFile::encodeName(absolute).toStdString(), tableDirectory));
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return viewer;
}

}  // namespace orgalink::gui
