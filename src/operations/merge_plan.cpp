// SPDX-License-Identifier: GPL-3.0-or-later
// What a merging or plain restore would do, application by application.

#include "operations/merge_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/archive_limits.h"

namespace orgalink::operations {

namespace {

using Record = std::vector<std::uint8_t>;
using Counts = std::map<Record, std::size_t>;

Counts CountOf(const store::RecordList& records) {
  Counts counts;
  for (const Record& record : records) ++counts[record];
  return counts;
}

// The records of `a` left over once each is matched with an equal one of
// `b`, in the order of `a`.
store::RecordList Without(const store::RecordList& a, const store::RecordList& b) {
  Counts unmatched = CountOf(b);
  store::RecordList left;
  for (const Record& record : a) {
    auto found = unmatched.find(record);
    if (found != unmatched.end() && found->second > 0) {
      --found->second;
    } else {
      left.push_back(record);
    }
  }
  return left;
}

bool InScope(std::uint8_t application, int appliKind) {
  return appliKind == store::AllApplis || appliKind == application;
}

// The first text field, where a person's name, a title or a note's first
// words lie: what stays when a record is edited, more often than not.
Record FirstField(std::uint8_t application, const Record& record) {
  const auto offset =
      std::min(record.size(), static_cast<std::size_t>(store::TextOffset(application)));
  const auto start = record.begin() + static_cast<std::ptrdiff_t>(offset);
  return Record(start, std::find(start, record.end(), std::uint8_t{0}));
}

std::size_t LookEdited(std::uint8_t application, const store::RecordList& added,
                       const store::RecordList& heldOnly) {
  std::set<Record> fields;
  for (const Record& record : heldOnly) {
    Record field = FirstField(application, record);
    if (!field.empty()) fields.insert(std::move(field));
  }
  return static_cast<std::size_t>(std::count_if(added.begin(), added.end(), [&](const Record& r) {
    return fields.count(FirstField(application, r)) != 0;
  }));
}

std::string SizeProblem(std::uint8_t application, const store::RecordList& records) {
  std::size_t bytes = 0;
  for (const Record& record : records) bytes += record.size() + 1;
  return store::ApplicationProblem(application, records.size(), bytes);
}

ApplicationPlan Compared(std::uint8_t application, store::RecordList held,
                         store::RecordList result) {
  ApplicationPlan plan;
  plan.application = application;
  plan.added = Without(result, held).size();
  plan.lost = Without(held, result).size();
  plan.held = std::move(held);
  plan.result = std::move(result);
  return plan;
}

const store::RecordList& SectionOf(const store::ArchiveRecords& archive, std::uint8_t application) {
  static const store::RecordList none;
  const store::RecordList* records = archive.Find(application);
  return records != nullptr ? *records : none;
}

ApplicationPlan MergeOne(const store::ArchiveRecords& archive, std::uint8_t application,
                         store::RecordList held) {
  const store::RecordList& offered = SectionOf(archive, application);
  if (application == store::ExpenseCategory) {
    // One table: the archive's takes the place of the organizer's.
    const bool replaced = !offered.empty() && offered != held;
    ApplicationPlan plan = Compared(application, held, replaced ? offered : held);
    plan.rewritten = replaced;
    return plan;
  }
  const store::RecordList lacking = Without(offered, held);
  store::RecordList result = held;
  result.insert(result.end(), lacking.begin(), lacking.end());
  ApplicationPlan plan = Compared(application, std::move(held), std::move(result));
  plan.rewritten = !lacking.empty();
  plan.edited = LookEdited(application, lacking, Without(plan.held, offered));
  plan.tooLarge = SizeProblem(application, plan.result);
  return plan;
}

}  // namespace

bool ApplicationPlan::Changes() const {
  if (added != 0 || lost != 0) return true;
  // The organizer files Telephone in its own order, whatever is sent.
  return application != store::Telephone && rewritten && result != held;
}

bool RestorePlan::Changes() const {
  return std::any_of(applications.begin(), applications.end(),
                     [](const ApplicationPlan& plan) { return plan.Changes(); });
}

std::string RestorePlan::Refusal() const {
  for (const ApplicationPlan& plan : applications) {
    if (!plan.tooLarge.empty()) {
      return store::ApplicationName(plan.application) + ": " + plan.tooLarge;
    }
  }
  return {};
}

store::ArchiveRecords RestorePlan::Expected() const {
  store::ArchiveRecords expected;
  expected.device = store::ArchiveDeviceCode;
  for (const ApplicationPlan& plan : applications) {
    if (plan.application == store::ExpenseCategory && !plan.rewritten) continue;
    expected.sections.emplace_back(plan.application, plan.result);
  }
  return expected;
}

RestorePlan PlanMerge(const store::ArchiveRecords& archive, const ReceivedStreams& organizer,
                      int appliKind) {
  RestorePlan plan;
  plan.merge = true;
  for (const std::uint8_t application : store::FullOrder) {
    if (!InScope(application, appliKind)) continue;
    // Addressed together with the others, the table stays the organizer's.
    if (application == store::ExpenseCategory && appliKind != store::ExpenseCategory) continue;
    plan.applications.push_back(
        MergeOne(archive, application, store::SplitStream(organizer[application])));
  }
  const auto expense =
      std::find_if(plan.applications.begin(), plan.applications.end(),
                   [](const ApplicationPlan& a) { return a.application == store::Expense; });
  const store::RecordList& table = SectionOf(archive, store::ExpenseCategory);
  plan.categoriesDiffer = expense != plan.applications.end() && expense->added != 0 &&
                          !table.empty() &&
                          table != store::SplitStream(organizer[store::ExpenseCategory]);
  return plan;
}

RestorePlan PlanReplace(const store::ArchiveRecords& archive, const ReceivedStreams& organizer,
                        int appliKind) {
  RestorePlan plan;
  for (const std::uint8_t application : store::FullOrder) {
    if (!InScope(application, appliKind)) continue;
    const store::RecordList* offered = archive.Find(application);
    store::RecordList held = store::SplitStream(organizer[application]);
    if (application == store::ExpenseCategory && (offered == nullptr || offered->empty())) {
      if (appliKind == store::ExpenseCategory)
        plan.applications.push_back(Compared(application, held, held));
      continue;
    }
    ApplicationPlan one =
        Compared(application, std::move(held), offered != nullptr ? *offered : store::RecordList{});
    one.rewritten = true;
    plan.applications.push_back(std::move(one));
  }
  return plan;
}

}  // namespace orgalink::operations
