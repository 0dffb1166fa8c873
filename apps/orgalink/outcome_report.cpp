// SPDX-License-Identifier: GPL-3.0-or-later
#include "outcome_report.h"

#include "documents.h"
#include "outcome_json.h"

namespace orgalink::cli {

void AddJsonFlag(CLI::App& command, bool& json) {
  command.add_flag("--json", json,
                   std::string("Print the outcome as one JSON object on standard output, also "
                               "when the command fails (layout: ") +
                       kJsonOutputDocument + ")");
}

void OutcomeReport::Ran(const CommunicationResult& result) {
  if (result.ran) outcome_ = result.outcome;
}

int OutcomeReport::Finish(int exitStatus) const {
  if (!json_) return exitStatus;
  OrderedJson object =
      OutcomeJson(command_, outcome_.value_or(session::SessionOutcome{}), exitStatus);
  if (!outcome_) {
    // No communication took place: no status of the organizer's to tell,
    // unless the command's own check gave one.
    object["status"] = refused_ ? OrderedJson(link::ToInt(refused_->status)) : nullptr;
    object["statusText"] = nullptr;
    object["cause"] = refused_ && !refused_->cause.Empty() ? OrderedJson(refused_->cause.Text())
                                                           : OrderedJson(nullptr);
  }
  if (object["archive"].is_null() && !archive_.empty()) object["archive"] = archive_;
  if (verified_) object["verify"] = VerifyJson(*verified_);
  return PrintJson(object, exitStatus);
}

}  // namespace orgalink::cli
