#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/link_status.h"

namespace orgalink::ui {

// What the progress dialog shows while a communication runs, driven only by
// the messages its worker posts. The dialog feeds every message to Handle(),
// refreshes its controls when Handle() says so, and closes once Ended() holds
// a status (showing EndNoticeFor() that status first).
class ProgressModel {
 public:
  static constexpr int kBarMinimum = 0;
  static constexpr int kBarMaximum = 100;

  explicit ProgressModel(int runMode) : runMode_(runMode) {}

  // Applies WM_LINK_STATUS, WM_LINK_PROGRESS, WM_LINK_DONE or WM_LINK_FAILED.
  // Returns true when the controls must be refreshed; any other message, and
  // one the current RunMode ignores, changes nothing.
  bool Handle(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam);

  const std::string& StatusText() const { return statusText_; }
  // Where the bar stands, always within kBarMinimum..kBarMaximum.
  int BarPosition() const { return barPosition_; }
  // The status with which the run ended, once its end message arrived.
  std::optional<link::LinkStatus> Ended() const { return ended_; }

 private:
  bool HandleStatus(std::uint32_t w, std::int32_t scope);
  bool HandleProgress(std::uint32_t w, std::int32_t scope);
  std::optional<std::uint32_t> NextPosition(std::uint32_t w, std::int32_t scope) const;

  int runMode_;
  std::string statusText_;
  int barPosition_ = kBarMinimum;
  // Unset until the first status message with a position arrives, so that no
  // early progress message can read as the end.
  std::optional<std::uint32_t> finalPosition_;
  std::optional<link::LinkStatus> ended_;
};

// The progress dialog's title for a RunMode.
std::string ProgressTitle(int runMode);

}  // namespace orgalink::ui
