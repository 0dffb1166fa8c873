// SPDX-License-Identifier: GPL-3.0-or-later
#include "outcome_json.h"

#include "output_check.h"
#include "platform/standard_output.h"
#include "store/archive.h"
#include "ui/end_notice.h"
#include "ui/verify_report.h"

namespace orgalink::cli {

namespace {

// null for an empty text: a script tests for a value, not for "".
OrderedJson TextOrNull(const std::string& text) {
  return text.empty() ? OrderedJson(nullptr) : OrderedJson(text);
}

OrderedJson StatusText(link::LinkStatus status) {
  const auto notice = ui::EndNoticeFor(status);
  return notice ? OrderedJson(notice->text) : OrderedJson(nullptr);
}

OrderedJson Application(std::uint8_t application) {
  return {{"application", store::ApplicationName(application)}, {"code", application}};
}

// Keyed by the application's name, so that a script asks for
// .counts.Telephone; in the order the organizer is walked.
OrderedJson Counts(const session::SessionOutcome& outcome) {
  OrderedJson counts = OrderedJson::object();
  for (const std::uint8_t application : store::FullOrder) {
    const int count = outcome.counts[application];
    if (count >= 0) counts[store::ApplicationName(application)] = count;
  }
  return counts;
}

// What a merge or dry run found to do, application by application.
OrderedJson PlanJson(const std::optional<operations::RestorePlan>& plan) {
  if (!plan) return nullptr;
  OrderedJson applications = OrderedJson::array();
  for (const operations::ApplicationPlan& one : plan->applications) {
    OrderedJson entry = Application(one.application);
    entry["held"] = one.held.size();
    entry["after"] = one.result.size();
    entry["added"] = one.added;
    entry["removed"] = one.lost;
    entry["edited"] = one.edited;
    entry["rewritten"] = one.rewritten;
    entry["tooLarge"] = TextOrNull(one.tooLarge);
    applications.push_back(std::move(entry));
  }
  return {{"merge", plan->merge},
          {"changes", plan->Changes()},
          {"categoriesDiffer", plan->categoriesDiffer},
          {"applications", applications}};
}

}  // namespace

OrderedJson OutcomeJson(const std::string& command, const session::SessionOutcome& outcome,
                        int exitStatus) {
  const link::StepResult& result = outcome.result;
  const ui::SafetyCopy safety = session::SafetyCopyOf(outcome);
  return {{"command", command},
          {"ok", exitStatus == 0},
          {"exitStatus", exitStatus},
          {"status", link::ToInt(result.status)},
          {"statusText", StatusText(result.status)},
          {"cause", result.cause.Empty() ? OrderedJson(nullptr) : OrderedJson(result.cause.Text())},
          {"archive", TextOrNull(outcome.archive)},
          {"counts", Counts(outcome)},
          {"countsUnread", TextOrNull(outcome.countsUnread)},
          {"safetyArchive", TextOrNull(safety.writtenTo)},
          {"safetyFailed", safety.failed},
          {"recoveryCommand", TextOrNull(safety.recoveryCommand)},
          {"verify", outcome.verified ? VerifyJson(*outcome.verified) : OrderedJson(nullptr)},
          {"plan", PlanJson(outcome.plan)},
          {"elapsedMs", outcome.elapsedMs}};
}

OrderedJson VerifyJson(const std::vector<store::RecordDifference>& compared) {
  OrderedJson applications = OrderedJson::array();
  for (const store::RecordDifference& d : compared) {
    OrderedJson entry = Application(d.application);
    entry["matches"] = !d.Differs();
    entry["inArchive"] = d.countA;
    entry["onOrganizer"] = d.countB;
    entry["onlyInArchive"] = d.onlyA.size();
    entry["onlyOnOrganizer"] = d.onlyB.size();
    entry["orderOnly"] = d.orderOnly;
    applications.push_back(std::move(entry));
  }
  return {{"matches", ui::AllMatch(compared)}, {"applications", applications}};
}

int PrintJson(const OrderedJson& object, int exitStatus) {
  platform::CheckedStandardOutput out;
  // Texts come from files and the system; one that is not UTF-8 is shown
  // with replacement characters rather than ending the program.
  out << object.dump(2, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
  return CheckedStatus(out, exitStatus);
}

}  // namespace orgalink::cli
