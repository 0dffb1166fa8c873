// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/step_result.h"
#include "operations/merge_plan.h"
#include "operations/run_context.h"
#include "store/appli_kind.h"
#include "store/record_comparison.h"
#include "ui/safe_restore_texts.h"

namespace orgalink::session {

// Everything one communication leaves for its front end to tell.
struct SessionOutcome {
  // Until a run says otherwise, nothing was done: never a success.
  link::StepResult result{link::LinkIoError, link::Cause::WrongData("communication", -1, -1,
                                                                    "the communication never ran")};
  // The archive written or restored (a numbered backup's actual name).
  std::string archive;
  // Records per application number of that archive, or read back; -1 for an
  // application it did not hold.
  std::array<int, 7> counts{-1, -1, -1, -1, -1, -1, -1};
  // Why the archive could not be read back for its counts; empty when it was.
  std::string countsUnread;
  // What became of a restore's safety archive.
  operations::RestoreSafety safety;
  // A verification's differences, one per application compared.
  std::optional<std::vector<store::RecordDifference>> verified;
  // After a restore that failed once it had begun to delete: the command
  // that puts the safety archive back, quoted for a POSIX shell. Empty
  // otherwise.
  std::string recoveryCommand;
  // A merge's or dry run's plan, once the organizer could be read: what
  // each application held and holds (or would hold) afterwards.
  std::optional<operations::RestorePlan> plan;
  // The application the run addressed (AppliMode).
  int appliKind = store::AllApplis;
  // How long the communication took, from the port's opening to its end.
  std::uint32_t elapsedMs = 0;

  bool Ok() const { return result.Ok(); }
};

// What a restore's safety archive means for the user, in the terms the
// front ends tell it.
ui::SafetyCopy SafetyCopyOf(const operations::RestoreSafety& safety,
                            std::string recoveryCommand = {});
ui::SafetyCopy SafetyCopyOf(const SessionOutcome& outcome);

}  // namespace orgalink::session
