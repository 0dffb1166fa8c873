// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/verify_report.h"

#include "store/archive.h"

namespace orgalink::ui {

namespace {

std::string Records(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " record" : " records");
}

std::string DifferenceLine(const store::RecordDifference& d) {
  std::string line = store::ApplicationName(d.application) + " differs: " + Records(d.countA) +
                     " in the archive, " + std::to_string(d.countB) + " on the organizer";
  if (d.orderOnly) return line + "; the same records in another order";
  return line + "; " + std::to_string(d.onlyA.size()) + " only in the archive, " +
         std::to_string(d.onlyB.size()) + " only on the organizer";
}

}  // namespace

std::string ReadBackLogName(const std::string& restoreLog) {
  const auto slash = restoreLog.find_last_of('/');
  auto dot = restoreLog.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    dot = restoreLog.size();
  }
  return restoreLog.substr(0, dot) + "-verify" + restoreLog.substr(dot);
}

bool AllMatch(const std::vector<store::RecordDifference>& compared) {
  for (const store::RecordDifference& d : compared) {
    if (d.Differs()) return false;
  }
  return true;
}

std::string VerifyReport(const std::vector<store::RecordDifference>& compared) {
  if (AllMatch(compared)) {
    std::size_t records = 0;
    for (const store::RecordDifference& d : compared) records += d.countA;
    return "Verified: " + Records(records) + " in " + std::to_string(compared.size()) +
           (compared.size() == 1 ? " application match" : " applications match");
  }
  std::string text;
  for (const store::RecordDifference& d : compared) {
    if (d.Differs()) text += DifferenceLine(d) + "\n";
  }
  return text + "Verify failed: the organizer does not hold what the archive holds.";
}

}  // namespace orgalink::ui
