#include "console_owner.h"

#include <cstdio>

#include "ui/progress_model.h"

namespace orgalink::cli {

ConsoleOwner::ConsoleOwner(const Console& console, int runMode, const platform::CancelToken& cancel)
    : console_(console),
      cancel_(cancel),
      progress_(runMode, console.ShowsLiveProgress(), console.Columns(), stderr),
      title_(ui::ProgressTitle(runMode)) {}

void ConsoleOwner::Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  std::lock_guard lock(mutex_);
  progress_.Handle(message, wparam, lparam);
}

void ConsoleOwner::Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
  Post(message, wparam, lparam);
}

int ConsoleOwner::ShowMessage(const std::string& text, const std::string& /*caption*/,
                              link::MessageBoxKind kind) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  int answer = link::IDOK;
  if (kind == link::MessageBoxKind::RetryCancelQuestion) {
    // An interrupt answers Cancel at once instead of waiting for a key; the
    // request stays set for the run to see.
    answer = console_.AskRetry(text, cancel_.WakeFd()) ? link::IDRETRY : link::IDCANCEL;
  } else {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
  progress_.Show();
  return answer;
}

std::string ConsoleOwner::Title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

void ConsoleOwner::SetTitle(const std::string& title) {
  std::lock_guard lock(mutex_);
  title_ = title;
}

void ConsoleOwner::Finish() {
  std::lock_guard lock(mutex_);
  progress_.Finish();
}

}  // namespace orgalink::cli
