// SPDX-License-Identifier: GPL-3.0-or-later
// What a merging or plain restore did or would do, in words.

#include "operations/merge_report.h"

#include "store/appli_kind.h"
#include "store/archive.h"

namespace orgalink::operations {

namespace {

std::string Records(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " record" : " records");
}

std::string EditedNote(const ApplicationPlan& plan) {
  if (plan.edited == 0) return {};
  return plan.edited == 1 ? "; 1 of them looks like an edited version of a record the organizer "
                            "holds, which is kept beside it"
                          : "; " + std::to_string(plan.edited) +
                                " of them look like edited versions of records the organizer "
                                "holds, which are kept beside them";
}

std::string TableLine(const ApplicationPlan& plan, bool done) {
  if (!plan.Changes()) {
    return done ? "the same as the archive's, left as it was"
                : "the same as the archive's, left as it is";
  }
  return done ? "replaced by the archive's table" : "would be replaced by the archive's table";
}

std::string MergeLine(const ApplicationPlan& plan, bool done) {
  const std::string counts = std::to_string(plan.held.size()) + " kept, " +
                             std::to_string(plan.added) + " added" + EditedNote(plan);
  if (done)
    return plan.rewritten ? counts : std::to_string(plan.held.size()) + " kept, nothing to add";
  if (!plan.rewritten) return "nothing to add, left as it is (" + Records(plan.held.size()) + ")";
  return "would delete " + Records(plan.held.size()) + " and send " +
         std::to_string(plan.result.size()) + ": " + counts;
}

std::string ReplaceLine(const ApplicationPlan& plan, bool done) {
  if (!plan.Changes()) {
    return (done ? "deleted " : "would delete ") + Records(plan.held.size()) +
           " and send the same back";
  }
  return (done ? "deleted " : "would delete ") + Records(plan.held.size()) + " and send " +
         std::to_string(plan.result.size()) + " from the archive: " + std::to_string(plan.added) +
         " the organizer lacks, " + std::to_string(plan.lost) + " of its own lost";
}

}  // namespace

std::vector<std::string> RestorePlanLines(const RestorePlan& plan, bool done) {
  std::vector<std::string> lines;
  for (const ApplicationPlan& one : plan.applications) {
    const std::string text = one.application == store::ExpenseCategory ? TableLine(one, done)
                             : plan.merge                              ? MergeLine(one, done)
                                                                       : ReplaceLine(one, done);
    lines.push_back(store::ApplicationName(one.application) + ": " + text);
  }
  if (plan.categoriesDiffer) {
    lines.push_back(
        "Expense: the expense entries keep the organizer's categories, which differ from the "
        "archive's; restore --merge --app \"Expense Category\" puts the archive's table back");
  }
  if (!done && !plan.Changes()) lines.push_back("Nothing would change.");
  return lines;
}

}  // namespace orgalink::operations
