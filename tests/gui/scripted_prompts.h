// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "user_prompts.h"

namespace orgalink::guitest {

// Answers in the user's place and remembers what the program asked.
class ScriptedPrompts : public gui::UserPrompts {
 public:
  struct Shown {
    QString text;
    QString caption;
    gui::BoxIcon icon;
    gui::BoxButtons buttons;
    QString detail = QString();
  };

  // Answers for the coming boxes, in order; once they run out every box is
  // answered with its first button (OK, Yes or Retry).
  void QueueAnswers(std::initializer_list<gui::BoxAnswer> answers);
  // Runs before a box is answered, on the program's dialog thread.
  void OnBox(std::function<void(const Shown&)> hook) { hook_ = std::move(hook); }
  // The paths the file dialogs return (empty: the user cancelled).
  void SetSavePath(const QString& path) { savePath_ = path; }
  void SetOpenPath(const QString& path) { openPath_ = path; }

  const std::vector<Shown>& Boxes() const { return boxes_; }
  const std::vector<gui::FileRequest>& FileRequests() const { return fileRequests_; }
  QStringList Captions() const;
  void Clear();

  gui::BoxAnswer ShowBox(QWidget* parent, const gui::BoxRequest& request) override;
  QString AskSavePath(QWidget* parent, const gui::FileRequest& request) override;
  QString AskOpenPath(QWidget* parent, const gui::FileRequest& request) override;

 private:
  std::deque<gui::BoxAnswer> answers_;
  std::function<void(const Shown&)> hook_;
  QString savePath_;
  QString openPath_;
  std::vector<Shown> boxes_;
  std::vector<gui::FileRequest> fileRequests_;
};

}  // namespace orgalink::guitest
