#include "console_owner.h"

#include <cstdio>

#include "link/messages.h"

namespace orgalink::cli {

void ConsoleOwner::Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  if (message == link::WM_LINK_STATUS && wparam == 0 && lparam == link::NegotiationScope) {
    std::fprintf(stderr, "Waiting for Organizer...\n");
  }
}

void ConsoleOwner::Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  Post(message, wparam, lparam);
}

int ConsoleOwner::ShowMessage(const std::string& text, const std::string& /*caption*/,
                              link::MessageBoxKind kind) {
  std::lock_guard lock(mutex_);
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
  // Nobody can answer a retry question here: a script wants the failure.
  return kind == link::MessageBoxKind::RetryCancelQuestion ? link::IDCANCEL : link::IDOK;
}

std::string ConsoleOwner::Title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

void ConsoleOwner::SetTitle(const std::string& title) {
  std::lock_guard lock(mutex_);
  title_ = title;
}

}  // namespace orgalink::cli
