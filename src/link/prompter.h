// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/cause.h"

namespace orgalink::link {

// The questions and notes a communication puts to the user, each as a modal
// box of the front end. An empty caption means the program's own title.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A failed archive read or write: true to try again (Retry), false to
  // give up (Cancel). `text` is the box's message, `cause` what the system
  // or the store said, shown with it as its detail.
  virtual bool RetryOrCancel(const std::string& text, const Cause& cause,
                             const std::string& caption) = 0;

  // A note the user only acknowledges ("SUCCESS Backup\nTime:3sec", "BYE!!").
  virtual void Inform(const std::string& text, const std::string& caption) = 0;

  // A yes/no question, such as whether to overwrite the organizer: true for
  // yes.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
};

}  // namespace orgalink::link
