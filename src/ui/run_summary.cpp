// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run_summary.h"

#include "store/appli_kind.h"
#include "store/archive.h"
#include "ui/safe_restore_texts.h"

namespace orgalink::ui {

namespace {

std::string RecordsLine(std::uint8_t kind, int count) {
  return store::ApplicationName(kind) + ": " + std::to_string(count) +
         (count == 1 ? " record" : " records");
}

// Tenths of a second: enough to compare two runs, without false precision.
std::string Seconds(std::uint32_t ms) {
  const std::uint32_t tenths = (ms + 50) / 100;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

}  // namespace

std::string RunSummary(const RunFacts& facts) {
  const bool merge = !facts.mergeLines.empty();
  std::string text = merge           ? "Merged " + facts.archive + " into the organizer\n"
                     : facts.restore ? "Restored " + facts.archive + "\n"
                                     : "Backup written to " + facts.archive + "\n";
  if (!facts.readBackProblem.empty()) {
    text += "The archive could not be read back: " + facts.readBackProblem + "\n";
  }
  for (const std::string& line : facts.mergeLines) text += line + "\n";
  for (const std::uint8_t kind : store::FullOrder) {
    const int count = facts.counts[kind];
    if (count >= 0 && !merge) text += RecordsLine(kind, count) + "\n";
  }
  text += "Time taken: " + Seconds(facts.elapsedMs);
  SafetyCopy copy;
  copy.writtenTo = facts.safetyArchive;
  const std::string safety = SafetyWrittenLine(copy);
  if (!safety.empty()) text += "\n" + safety;
  return text;
}

}  // namespace orgalink::ui
