#pragma once

#include <cstdint>
#include <string>

namespace orgalink::link {

// Buttons and icon of a message box.
enum class MessageBoxKind {
  Ok,                   // OK button only
  RetryCancelQuestion,  // Retry and Cancel, question icon
};

// Answer of a message box.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDRETRY = 4;

// The window a communication works for: the progress dialog in the GUI, the
// console in the command-line tool. Operations post their progress to it,
// show message boxes through it and tag its title with the organizer variant.
class LinkOwner {
 public:
  virtual ~LinkOwner() = default;

  // Queues a message for the owner; never waits.
  virtual void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) = 0;

  // Delivers a message and returns once the owner has handled it.
  virtual void Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) = 0;

  // Shows a modal message box and returns the button chosen (IDOK, IDRETRY,
  // IDCANCEL). An empty caption means the application's own caption.
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          MessageBoxKind kind) = 0;

  virtual std::string Title() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
};

}  // namespace orgalink::link
