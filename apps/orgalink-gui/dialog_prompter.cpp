// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_prompter.h"

#include "texts.h"

namespace orgalink::gui {

BoxAnswer DialogPrompter::Show(const std::string& text, const std::string& caption, BoxIcon icon,
                               BoxButtons buttons, const std::string& detail) {
  const QString title =
      caption.empty() ? QString::fromLatin1(kAppTitle) : QString::fromStdString(caption);
  return prompts_.ShowBox(parent_, {QString::fromStdString(text), title, icon, buttons,
                                    QString::fromStdString(detail)});
}

// The cause is the box's informative text, under the message, so that the
// message itself stays what it always was.
bool DialogPrompter::RetryOrCancel(const std::string& text, const link::Cause& cause,
                                   const std::string& caption) {
  const std::string detail = cause.Empty() ? "" : "Cause: " + cause.Text() + ".";
  return Show(text, caption, BoxIcon::Question, BoxButtons::RetryCancel, detail) ==
         BoxAnswer::Retry;
}

void DialogPrompter::Inform(const std::string& text, const std::string& caption) {
  Show(text, caption, BoxIcon::None, BoxButtons::Ok);
}

bool DialogPrompter::Confirm(const std::string& text, const std::string& caption) {
  return Show(text, caption, BoxIcon::Question, BoxButtons::YesNo) == BoxAnswer::Yes;
}

}  // namespace orgalink::gui
