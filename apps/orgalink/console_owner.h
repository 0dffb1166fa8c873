// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <string>

#include "console.h"
#include "link/front_end.h"
#include "platform/cancel_token.h"
#include "progress_display.h"

namespace orgalink::cli {

// The console stands in for the progress dialog: progress and notes (the
// success texts) go to standard error, which leaves standard output to the
// results, and the Retry/Cancel and yes/no questions are asked on the
// terminal (Cancel and no where there is none, or once `cancel` is set).
// Without `showProgress` (--quiet) the progress and the notes are left out.
class ConsoleOwner : public link::ProgressSink, public link::Prompter {
 public:
  ConsoleOwner(const Console& console, int runMode, const platform::CancelToken& cancel,
               bool showProgress = true);

  link::FrontEnd Front() { return {this, this}; }

  void Report(const link::ProgressEvent& event) override;
  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

  // Ends the progress display once the run is over.
  void Finish();

 private:
  const Console& console_;
  const platform::CancelToken& cancel_;
  bool showProgress_;
  std::mutex mutex_;
  ProgressDisplay progress_;
};

}  // namespace orgalink::cli
