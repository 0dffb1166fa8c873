// SPDX-License-Identifier: GPL-3.0-or-later
#include "console_owner.h"

#include <cstdio>

namespace orgalink::cli {

ConsoleOwner::ConsoleOwner(const Console& console, int runMode, const platform::CancelToken& cancel,
                           bool showProgress)
    : console_(console),
      cancel_(cancel),
      showProgress_(showProgress),
      progress_(runMode, console.ShowsLiveProgress(), console.Columns(), stderr) {}

void ConsoleOwner::Report(const link::ProgressEvent& event) {
  if (!showProgress_) return;
  std::lock_guard lock(mutex_);
  progress_.Handle(event);
}

bool ConsoleOwner::RetryOrCancel(const std::string& text, const link::Cause& cause,
                                 const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  // The cause goes on a line of its own under the question's text, as it
  // does under a failure's status text.
  const std::string shown = cause.Empty() ? text : text + "\nCause: " + cause.Text() + ".";
  // An interrupt answers Cancel at once instead of waiting for a key; the
  // request stays set for the run to see.
  const bool retry = console_.AskRetry(shown, cancel_.WakeFd());
  progress_.Show();
  return retry;
}

void ConsoleOwner::Inform(const std::string& text, const std::string& /*caption*/) {
  // The notes are success texts ("SUCCESS Backup", "BYE!!"): quiet means
  // that a run that went well says nothing at all, log or not.
  if (!showProgress_) return;
  std::lock_guard lock(mutex_);
  progress_.Hide();
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  progress_.Show();
}

bool ConsoleOwner::Confirm(const std::string& text, const std::string& /*caption*/) {
  std::lock_guard lock(mutex_);
  progress_.Hide();
  const bool yes = console_.AskYesNo(text, cancel_.WakeFd());
  progress_.Show();
  return yes;
}

void ConsoleOwner::Finish() {
  std::lock_guard lock(mutex_);
  progress_.Finish();
}

}  // namespace orgalink::cli
