#include "dialog_prompter.h"

#include "texts.h"

namespace orgalink::gui {

BoxAnswer DialogPrompter::Show(const std::string& text, const std::string& caption, BoxIcon icon,
                               BoxButtons buttons) {
  const QString title =
      caption.empty() ? QString::fromLatin1(kAppTitle) : QString::fromStdString(caption);
  return prompts_.ShowBox(parent_, {QString::fromStdString(text), title, icon, buttons});
}

bool DialogPrompter::RetryOrCancel(const std::string& text, const std::string& caption) {
  return Show(text, caption, BoxIcon::Question, BoxButtons::RetryCancel) == BoxAnswer::Retry;
}

void DialogPrompter::Inform(const std::string& text, const std::string& caption) {
  Show(text, caption, BoxIcon::None, BoxButtons::Ok);
}

bool DialogPrompter::Confirm(const std::string& text, const std::string& caption) {
  return Show(text, caption, BoxIcon::Question, BoxButtons::YesNo) == BoxAnswer::Yes;
}

}  // namespace orgalink::gui
