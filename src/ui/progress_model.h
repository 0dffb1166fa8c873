// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/link_status.h"
#include "link/progress_sink.h"

namespace orgalink::ui {

// What the progress dialog shows while a communication runs, driven only by
// the events its worker reports. The dialog feeds every event to Handle(),
// refreshes its controls when Handle() says so, and closes once Ended() holds
// a status (showing EndNoticeFor() that status first).
class ProgressModel {
 public:
  static constexpr int kBarMinimum = 0;
  static constexpr int kBarMaximum = 100;

  explicit ProgressModel(int runMode) : runMode_(runMode) {}

  // Applies a Status, Progress, Done or Failed event. Returns true when the
  // controls must be refreshed; any other event, and one the current RunMode
  // ignores, changes nothing.
  bool Handle(const link::ProgressEvent& event);

  const std::string& StatusText() const { return statusText_; }
  // A backup or restore of one application (--app Memo, say), which reports
  // no milestones of its own: the bar follows that application's transfer.
  bool FollowsOneApplication() const { return phase_ == Phase::OneApplication; }
  // The records the current application's transfer has moved so far; none
  // before its first record, between applications and once finished.
  std::optional<int> RecordsSoFar() const { return records_; }
  // Where the bar stands, always within kBarMinimum..kBarMaximum.
  int BarPosition() const { return barPosition_; }
  // The status with which the run ended, once its end event arrived.
  std::optional<link::LinkStatus> Ended() const { return ended_; }

 private:
  bool HandleStatus(std::uint32_t w, link::ProgressScope scope);
  bool HandleProgress(std::uint32_t w, link::ProgressScope scope);
  bool HandleRecords(int records, link::ProgressScope scope);
  std::optional<std::uint32_t> NextPosition(std::uint32_t w, link::ProgressScope scope) const;

  // What a backup or restore (RunMode 1 or 2) is known to be doing, from the
  // status events seen so far.
  enum class Phase {
    Unknown,         // no transfer has announced itself yet
    SafetyCopy,      // a restore's safety backup, until its closing milestone
    Milestones,      // every application, under the operation's milestones
    OneApplication,  // one application's transfer without milestones
  };

  int runMode_;
  Phase phase_ = Phase::Unknown;
  std::string statusText_;
  int barPosition_ = kBarMinimum;
  // Unset until the first status event with a position arrives, so that no
  // early progress event can read as the end.
  std::optional<std::uint32_t> finalPosition_;
  std::optional<link::LinkStatus> ended_;
  std::optional<int> records_;
};

// The progress dialog's title for a RunMode.
std::string ProgressTitle(int runMode);

}  // namespace orgalink::ui
