#pragma once

#include <QWidget>

#include "link/link_owner.h"
#include "user_prompts.h"

namespace orgalink::gui {

// The dialog side of a worker's communication. The worker thread calls it;
// it reaches the dialog only through the dialog thread's event queue, in
// the order of the calls: Post queues a LinkMessageEvent; Send, the message
// boxes and the title wait until the dialog's thread has dealt with them.
// The dialog outlives every call: it ends only on the worker's last post.
class DialogOwner : public link::LinkOwner {
 public:
  DialogOwner(QWidget& dialog, UserPrompts& prompts) : dialog_(dialog), prompts_(prompts) {}

  void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  void Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  int ShowMessage(const std::string& text, const std::string& caption,
                  link::MessageBoxKind kind) override;
  std::string Title() const override;
  void SetTitle(const std::string& title) override;

 private:
  // Runs `action` on the dialog's thread and returns when it has run.
  template <typename Action>
  void RunInDialogThread(Action&& action) const;

  QWidget& dialog_;
  UserPrompts& prompts_;
};

}  // namespace orgalink::gui
