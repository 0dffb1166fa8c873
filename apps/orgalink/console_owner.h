#pragma once

#include <mutex>
#include <string>

#include "link/link_owner.h"

namespace orgalink::cli {

// The console stands in for the progress dialog: message boxes become lines
// on stdout, waiting and progress go to stderr.
class ConsoleOwner : public link::LinkOwner {
 public:
  explicit ConsoleOwner(std::string title) : title_(std::move(title)) {}

  void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  void Send(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override;
  int ShowMessage(const std::string& text, const std::string& caption,
                  link::MessageBoxKind kind) override;
  std::string Title() const override;
  void SetTitle(const std::string& title) override;

 private:
  mutable std::mutex mutex_;
  std::string title_;
};

}  // namespace orgalink::cli
