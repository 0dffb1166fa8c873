#pragma once

#include <mutex>
#include <string>

#include "console.h"
#include "link/link_owner.h"
#include "platform/cancel_token.h"
#include "progress_display.h"

namespace orgalink::cli {

// The console stands in for the progress dialog: progress goes to standard
// error, message boxes become lines on standard output, and a Retry/Cancel
// box becomes a question on the terminal (Cancel where there is none, or
// once `cancel` is set).
class ConsoleOwner : public link::LinkOwner {
 public:
  ConsoleOwner(const Console& console, int runMode, const platform::CancelToken& cancel);

  void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  void Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  int ShowMessage(const std::string& text, const std::string& caption,
                  link::MessageBoxKind kind) override;
  std::string Title() const override;
  void SetTitle(const std::string& title) override;

  // Ends the progress display once the run is over.
  void Finish();

 private:
  const Console& console_;
  const platform::CancelToken& cancel_;
  mutable std::mutex mutex_;
  ProgressDisplay progress_;
  std::string title_;
};

}  // namespace orgalink::cli
