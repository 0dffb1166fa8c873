#pragma once

#include <string>

namespace orgalink::link {

// The questions and notes a communication puts to the user, each as a modal
// box of the front end. An empty caption means the program's own title.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A failed archive read or write: true to try again (Retry), false to
  // give up (Cancel).
  virtual bool RetryOrCancel(const std::string& text, const std::string& caption) = 0;

  // A note the user only acknowledges ("SUCCESS Backup\nTime:3sec", "BYE!!").
  virtual void Inform(const std::string& text, const std::string& caption) = 0;

  // A yes/no question, such as whether to overwrite the organizer: true for
  // yes.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
};

}  // namespace orgalink::link
