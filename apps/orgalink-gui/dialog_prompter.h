// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/prompter.h"
#include "user_prompts.h"

namespace orgalink::gui {

// A communication's questions and notes as message boxes over `parent`, on
// the dialog thread: Retry/Cancel and Yes/No with the question icon, notes
// with OK alone. An empty caption is the program's title.
class DialogPrompter : public link::Prompter {
 public:
  DialogPrompter(QWidget* parent, UserPrompts& prompts) : parent_(parent), prompts_(prompts) {}

  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

 private:
  BoxAnswer Show(const std::string& text, const std::string& caption, BoxIcon icon,
                 BoxButtons buttons, const std::string& detail = "");

  QWidget* parent_;
  UserPrompts& prompts_;
};

}  // namespace orgalink::gui
