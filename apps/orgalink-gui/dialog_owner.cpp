#include "dialog_owner.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "link_message_event.h"
#include "texts.h"

namespace orgalink::gui {

template <typename Action>
void DialogOwner::RunInDialogThread(Action&& action) const {
  if (QThread::currentThread() == dialog_.thread()) {
    action();
    return;
  }
  // A queued call behind every event posted so far, so that a box or a
  // title change never overtakes the progress posted before it.
  QMetaObject::invokeMethod(&dialog_, std::forward<Action>(action), Qt::BlockingQueuedConnection);
}

void DialogOwner::Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  QCoreApplication::postEvent(&dialog_, new LinkMessageEvent(message, wparam, lparam));
}

void DialogOwner::Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  RunInDialogThread([this, message, wparam, lparam] {
    LinkMessageEvent event(message, wparam, lparam);
    QCoreApplication::sendEvent(&dialog_, &event);
  });
}

int DialogOwner::ShowMessage(const std::string& text, const std::string& caption,
                             link::MessageBoxKind kind) {
  BoxRequest request;
  request.text = QString::fromStdString(text);
  request.caption =
      caption.empty() ? QString::fromLatin1(kAppTitle) : QString::fromStdString(caption);
  if (kind == link::MessageBoxKind::RetryCancelQuestion) {
    request.icon = BoxIcon::Question;
    request.buttons = BoxButtons::RetryCancel;
  }
  int answer = kIdCancel;
  RunInDialogThread([this, &request, &answer] { answer = prompts_.ShowBox(&dialog_, request); });
  return answer;
}

std::string DialogOwner::Title() const {
  std::string title;
  RunInDialogThread([this, &title] { title = dialog_.windowTitle().toStdString(); });
  return title;
}

void DialogOwner::SetTitle(const std::string& title) {
  RunInDialogThread([this, &title] { dialog_.setWindowTitle(QString::fromStdString(title)); });
}

}  // namespace orgalink::gui
