// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::link {

// Which part of a communication a status or progress report comes from; the
// progress rules of the front ends tell the parts apart.
enum class ProgressScope {
  Negotiation,  // the negotiation waiting for the organizer
  Operation,    // the backup's and restore's own milestones, absolute bar positions
  Application,  // one application's transfer
  Telephone,    // the same while the application is Telephone
  Safety,       // a restore's safety backup: its milestones, absolute bar positions
};

// What a communication or a port search reports, and what its value holds.
enum class ProgressKind {
  Status,          // 0 while waiting for the organizer, else the final position
  Progress,        // a bar position or an application's progress value
  Records,         // the records an application's transfer has moved so far
  Done,            // the run ended with 16
  Failed,          // the run ended with the LinkStatus in value
  DetectChecking,  // the search is about to probe port value (1..4)
  DetectFound,     // the search found the organizer on port value (1..4)
  DetectFailed,    // the search found nothing; value is its LinkStatus
  Variant,         // the organizer is variant value (VariantE, VariantM, VariantEPlus);
                   // reported only while a log is kept, for the title's tag
};

struct ProgressEvent {
  ProgressKind kind = ProgressKind::Status;
  int value = 0;
  // Only Status and Progress have one.
  ProgressScope scope = ProgressScope::Negotiation;

  bool operator==(const ProgressEvent&) const = default;
};

// Whatever shows a communication's progress: the progress and Auto Detect
// dialogs, the console. It is called on the communication's thread.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;

  // Takes one event and never fails. DetectChecking returns once the front
  // end shows the port; any other event may be queued, in order.
  virtual void Report(const ProgressEvent& event) = 0;
};

// Reports to `sink`, if there is one; transfers also run without a front end.
inline void Report(ProgressSink* sink, const ProgressEvent& event) {
  if (sink != nullptr) sink->Report(event);
}

}  // namespace orgalink::link
