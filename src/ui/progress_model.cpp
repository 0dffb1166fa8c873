// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_model.h"

#include <algorithm>

#include "ui/status_code.h"

namespace orgalink::ui {

namespace {

constexpr const char* kWaiting = "Waiting for Organizer...";
constexpr const char* kReceiving = "Receiving...";
constexpr const char* kSending = "Sending...";
constexpr const char* kFinished = "Finished.";

// The text a positioned status event sets in a RunMode, or nothing when
// that RunMode ignores the event's scope. Backup and restore follow the
// operation's milestones; the single-application modes follow the transfer.
std::optional<const char*> TransferText(int runMode, link::ProgressScope scope) {
  switch (runMode) {
    case 1:
      return scope == link::ProgressScope::Operation ? std::optional(kReceiving) : std::nullopt;
    case 2:
      return scope == link::ProgressScope::Operation ? std::optional(kSending) : std::nullopt;
    case 5:
      return scope == link::ProgressScope::Application ? std::optional(kReceiving) : std::nullopt;
    case 6:
      return scope == link::ProgressScope::Application ? std::optional(kSending) : std::nullopt;
    default:
      return "";
  }
}

bool IsMilestone(link::ProgressScope scope) {
  return scope == link::ProgressScope::Operation || scope == link::ProgressScope::Safety;
}

}  // namespace

bool ProgressModel::Handle(const link::ProgressEvent& event) {
  // Positions are taken unsigned: a negative one reads as far beyond the
  // bar's end, never as a step back.
  const auto w = static_cast<std::uint32_t>(event.value);
  switch (event.kind) {
    case link::ProgressKind::Status: {
      // Every transfer, and every milestone between them, starts a new count.
      const bool counted = records_.has_value();
      records_.reset();
      return HandleStatus(w, event.scope) || counted;
    }
    case link::ProgressKind::Progress:
      if (IsMilestone(event.scope)) records_.reset();
      return HandleProgress(w, event.scope);
    case link::ProgressKind::Records:
      return HandleRecords(event.value, event.scope);
    case link::ProgressKind::Done:
    case link::ProgressKind::Failed:
      ended_ = StatusFromCode(event.value);
      return true;
    default:
      return false;
  }
}

bool ProgressModel::HandleStatus(std::uint32_t w, link::ProgressScope scope) {
  if (w == 0) {
    statusText_ = kWaiting;
    return true;
  }
  // A restore's safety copy receives before the restore sends; the end of
  // the copy is not the end of the run.
  if (scope == link::ProgressScope::Safety) {
    if (runMode_ != 2) return false;
    phase_ = Phase::SafetyCopy;
    statusText_ = kReceiving;
    return true;
  }
  const bool backupOrRestore = runMode_ == 1 || runMode_ == 2;
  if (backupOrRestore && scope == link::ProgressScope::Operation) phase_ = Phase::Milestones;
  // An application's transfer that starts before any milestone is all the
  // run does: it is followed as the single-application RunModes 5 and 6
  // follow theirs, or the text would stay at waiting and the bar near 0.
  if (backupOrRestore && phase_ == Phase::Unknown && scope == link::ProgressScope::Application) {
    phase_ = Phase::OneApplication;
    statusText_ = runMode_ == 1 ? kReceiving : kSending;
    finalPosition_ = w;
    return true;
  }
  const std::optional<const char*> text = TransferText(runMode_, scope);
  if (!text) return false;
  statusText_ = *text;
  finalPosition_ = w;
  return true;
}

bool ProgressModel::HandleRecords(int records, link::ProgressScope scope) {
  if (IsMilestone(scope) || records < 0 || statusText_ == kFinished) return false;
  records_ = records;
  return true;
}

bool ProgressModel::HandleProgress(std::uint32_t w, link::ProgressScope scope) {
  const std::optional<std::uint32_t> next = NextPosition(w, scope);
  if (!next) return false;
  // The bar shows anything beyond its range as full (or empty); the end is
  // recognised on the position asked for, not on what the bar can show.
  barPosition_ = static_cast<int>(std::min<std::uint32_t>(*next, kBarMaximum));
  if (*next == finalPosition_ && scope != link::ProgressScope::Safety) {
    statusText_ = kFinished;
    records_.reset();
  }
  // The safety copy's closing milestone hands the run to the restore.
  if (phase_ == Phase::SafetyCopy && scope == link::ProgressScope::Safety &&
      *next >= static_cast<std::uint32_t>(kBarMaximum)) {
    phase_ = Phase::Unknown;
  }
  return true;
}

// Backup and restore: the operation sets each application's band by absolute
// positions; within a band, every progress message of the application moves
// the bar one unit as long as its tens digit is ahead of the bar's units
// digit, never into the band's last unit. The Telephone transfer, which comes
// first, is spread over 10..46 and never moves the bar backwards.
std::optional<std::uint32_t> ProgressModel::NextPosition(std::uint32_t w,
                                                         link::ProgressScope scope) const {
  const auto p = static_cast<std::uint32_t>(barPosition_);
  const std::uint32_t t = w / 10;
  const std::uint32_t d = p % 10;
  const bool backupOrRestore = runMode_ == 1 || runMode_ == 2;
  if (backupOrRestore && scope == link::ProgressScope::Operation) return w;
  if (runMode_ == 2 && scope == link::ProgressScope::Safety) return w;
  if (phase_ == Phase::OneApplication &&
      (scope == link::ProgressScope::Application || scope == link::ProgressScope::Telephone)) {
    return w;
  }
  if (backupOrRestore && scope == link::ProgressScope::Telephone) {
    if (t >= 10 || 4 * t + 10 <= p) return std::nullopt;
    return 4 * t + 10;
  }
  if (runMode_ == 1 && scope == link::ProgressScope::Application) {
    if (d == 9 || t <= d) return std::nullopt;
    return p + 1;
  }
  if (runMode_ == 2 && scope == link::ProgressScope::Application) {
    if (t >= 10 || t <= d) return std::nullopt;
    return p + 1;
  }
  if ((runMode_ == 5 || runMode_ == 6) && scope == link::ProgressScope::Application) return w;
  return std::nullopt;
}

std::string ProgressTitle(int runMode) {
  const std::string title = "PC Interface Software for Brelan Pellico";
  if (runMode == 1 || runMode == 5) return title + " (Backup)";
  if (runMode == 2 || runMode == 6) return title + " (Restore)";
  return title;
}

}  // namespace orgalink::ui
