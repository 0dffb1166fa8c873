// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_prompts.h"

namespace orgalink::guitest {

using gui::BoxButtons;

void ScriptedPrompts::QueueAnswers(std::initializer_list<gui::BoxAnswer> answers) {
  answers_.insert(answers_.end(), answers);
}

QStringList ScriptedPrompts::Captions() const {
  QStringList captions;
  for (const Shown& box : boxes_) captions << box.caption;
  return captions;
}

void ScriptedPrompts::Clear() {
  boxes_.clear();
  fileRequests_.clear();
}

gui::BoxAnswer ScriptedPrompts::ShowBox(QWidget*, const gui::BoxRequest& request) {
  const Shown shown{request.text, request.caption, request.icon, request.buttons, request.detail};
  boxes_.push_back(shown);
  if (hook_) hook_(shown);
  if (!answers_.empty()) {
    const gui::BoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  switch (request.buttons) {
    case BoxButtons::YesNo:
      return gui::BoxAnswer::Yes;
    case BoxButtons::RetryCancel:
      return gui::BoxAnswer::Retry;
    case BoxButtons::Ok:
      break;
  }
  return gui::BoxAnswer::Ok;
}

QString ScriptedPrompts::AskSavePath(QWidget*, const gui::FileRequest& request) {
  fileRequests_.push_back(request);
  return savePath_;
}

QString ScriptedPrompts::AskOpenPath(QWidget*, const gui::FileRequest& request) {
  fileRequests_.push_back(request);
  return openPath_;
}

}  // namespace orgalink::guitest
