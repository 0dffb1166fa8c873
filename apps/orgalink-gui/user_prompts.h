// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace orgalink::gui {

// The button a message box was answered with.
enum class BoxAnswer { Ok, Cancel, Retry, Yes, No };

enum class BoxIcon { None, Information, Exclamation, Question };
enum class BoxButtons { Ok, YesNo, RetryCancel };

struct BoxRequest {
  QString text;
  QString caption;
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  // What the box tells below its text, the cause of a failure; empty for none.
  QString detail = QString();
};

// The kind of file a file dialog offers, with its name filter and, when
// saving, the suffix added to a name without one.
enum class FileKind { Archive, Json };

// What a file dialog for archives starts with.
struct FileRequest {
  QString folder;        // the folder it opens in
  QString proposedName;  // save only: the name offered
  FileKind kind = FileKind::Archive;
};

// Everything the program asks the user in a window of the system's own:
// message boxes and the file dialogs. The dialogs reach the user only
// through this, so that a test can answer in the user's place.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // Shows a modal message box over `parent` (none: over nothing) and
  // returns the button chosen.
  virtual BoxAnswer ShowBox(QWidget* parent, const BoxRequest& request) = 0;

  // The path of the archive to write or read; empty when cancelled.
  virtual QString AskSavePath(QWidget* parent, const FileRequest& request) = 0;
  virtual QString AskOpenPath(QWidget* parent, const FileRequest& request) = 0;
};

// The box QtPrompts shows for `request`, not yet shown.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const BoxRequest& request);

// The real windows: QMessageBox and QFileDialog.
class QtPrompts : public UserPrompts {
 public:
  BoxAnswer ShowBox(QWidget* parent, const BoxRequest& request) override;
  QString AskSavePath(QWidget* parent, const FileRequest& request) override;
  QString AskOpenPath(QWidget* parent, const FileRequest& request) override;
};

}  // namespace orgalink::gui
