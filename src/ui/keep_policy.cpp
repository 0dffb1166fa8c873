// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/keep_policy.h"

#include <chrono>
#include <functional>

namespace orgalink::ui {

namespace {

using Bucket = std::function<int(int date)>;

int Day(int date) {
  return date;
}

// The week a date falls in, as the day number of its Monday.
int Week(int date) {
  using namespace std::chrono;
  const sys_days civil =
      year_month_day{year{date / 10000}, month{static_cast<unsigned>(date / 100 % 100)},
                     day{static_cast<unsigned>(date % 100)}};
  const int sinceMonday = static_cast<int>(weekday{civil}.iso_encoding()) - 1;
  return static_cast<int>(civil.time_since_epoch().count()) - sinceMonday;
}

int Month(int date) {
  return date / 100;
}

// Keeps the newest archive of each of the `count` latest periods that hold
// one; `dated` lists the indexes of the dated archives, newest first.
void KeepPerPeriod(const std::vector<FolderArchive>& archives,
                   const std::vector<std::size_t>& dated, int count, const Bucket& bucket,
                   std::vector<bool>& keep) {
  std::optional<int> current;
  int periods = 0;
  for (const std::size_t i : dated) {
    const int period = bucket(archives[i].date);
    if (current == period) continue;
    current = period;
    if (++periods > count) return;
    keep[i] = true;
  }
}

}  // namespace

std::vector<bool> ArchivesToRemove(const std::vector<FolderArchive>& newestFirst,
                                   const KeepPolicy& policy) {
  std::vector<bool> keep(newestFirst.size(), false);
  std::vector<std::size_t> dated;
  int safetyKept = 0;
  for (std::size_t i = 0; i < newestFirst.size(); ++i) {
    if (newestFirst[i].kind == FolderArchiveKind::Dated) {
      dated.push_back(i);
    } else {
      keep[i] = !policy.safety || safetyKept++ < *policy.safety;
    }
  }
  for (std::size_t n = 0; n < dated.size(); ++n) {
    keep[dated[n]] =
        !policy.RulesDated() || n == 0 || (policy.last && n < std::size_t(*policy.last));
  }
  if (policy.daily) KeepPerPeriod(newestFirst, dated, *policy.daily, Day, keep);
  if (policy.weekly) KeepPerPeriod(newestFirst, dated, *policy.weekly, Week, keep);
  if (policy.monthly) KeepPerPeriod(newestFirst, dated, *policy.monthly, Month, keep);
  std::vector<bool> remove(keep.size());
  for (std::size_t i = 0; i < keep.size(); ++i) remove[i] = !keep[i];
  return remove;
}

}  // namespace orgalink::ui
