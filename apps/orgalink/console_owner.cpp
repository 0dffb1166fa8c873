#include "console_owner.h"

#include <cstdio>

#include "platform/message_queue.h"

namespace orgalink::cli {

ConsoleOwner::ConsoleOwner(const Console& console, int runMode)
    : console_(console),
      progress_(runMode, console.ShowsLiveProgress(), console.Columns(), stderr) {}

void ConsoleOwner::Report(const link::ProgressEvent& event) {
  std::lock_guard lock(mutex_);
  progress_.Handle(event);
}

bool ConsoleOwner::RetryOrCancel(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  // The question is asked on the communication's thread; an interrupt
  // posted into its queue answers Cancel at once instead of waiting for
  // a key, and stays queued for the run to see.
  const int wakeFd = platform::CurrentThreadQueue()->WakeFd();
  const bool retry = console_.AskRetry(text, wakeFd);
  progress_.Show();
  return retry;
}

void ConsoleOwner::Inform(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
  progress_.Show();
}

bool ConsoleOwner::Confirm(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  const bool yes = console_.AskYesNo(text, platform::CurrentThreadQueue()->WakeFd());
  progress_.Show();
  return yes;
}

void ConsoleOwner::Finish() {
  std::lock_guard lock(mutex_);
  progress_.Finish();
}

}  // namespace orgalink::cli
