// SPDX-License-Identifier: GPL-3.0-or-later
#include "user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace orgalink::gui {

namespace {

const QString kArchiveFilter = QStringLiteral("Backup Files (*.bkf)");
const QString kJsonFilter = QStringLiteral("JSON Files (*.json)");

QString FilterOf(FileKind kind) {
  return kind == FileKind::Json ? kJsonFilter : kArchiveFilter;
}

QString SuffixOf(FileKind kind) {
  return kind == FileKind::Json ? QStringLiteral("json") : QStringLiteral("bkf");
}

QMessageBox::Icon ToQt(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::Exclamation:
      return QMessageBox::Warning;
    case BoxIcon::Question:
      return QMessageBox::Question;
    case BoxIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case BoxButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

BoxAnswer FromQt(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return BoxAnswer::Ok;
    case QMessageBox::Retry:
      return BoxAnswer::Retry;
    case QMessageBox::Yes:
      return BoxAnswer::Yes;
    case QMessageBox::No:
      return BoxAnswer::No;
    default:
      return BoxAnswer::Cancel;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const BoxRequest& request) {
  auto box = std::make_unique<QMessageBox>(ToQt(request.icon), request.caption, request.text,
                                           ToQt(request.buttons), parent);
  box->setTextFormat(Qt::PlainText);
  if (!request.detail.isEmpty()) {
    box->setInformativeText(request.detail);
    // The detail quotes file names and the system's texts; a name such as
    // "<b>x.bkf" must read as written, not as markup.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
      label->setTextFormat(Qt::PlainText);
    }
  }
  return box;
}

BoxAnswer QtPrompts::ShowBox(QWidget* parent, const BoxRequest& request) {
  const std::unique_ptr<QMessageBox> box = MakeMessageBox(parent, request);
  // Esc (or the close button) on a box without Cancel or No counts as OK,
  // which is what the box reports on every platform.
  return FromQt(box->exec());
}

QString QtPrompts::AskSavePath(QWidget* parent, const FileRequest& request) {
  QFileDialog dialog(parent, QString(), request.folder, FilterOf(request.kind));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(SuffixOf(request.kind));
  dialog.selectFile(request.proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

QString QtPrompts::AskOpenPath(QWidget* parent, const FileRequest& request) {
  QFileDialog dialog(parent, QString(), request.folder, FilterOf(request.kind));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace orgalink::gui
