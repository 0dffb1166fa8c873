// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "communication.h"
#include "link/step_result.h"
#include "session/session_outcome.h"
#include "store/record_comparison.h"

namespace orgalink::cli {

// Adds --json to a command: its outcome as one object on standard output.
void AddJsonFlag(CLI::App& command, bool& json);

// What a command that communicates collects for --json while it runs, and
// prints once it ends, whichever way it ends. Without --json it only hands
// the exit status back; the command prints its texts as ever.
class OutcomeReport {
 public:
  OutcomeReport(std::string command, bool json) : command_(std::move(command)), json_(json) {}

  // Whether the results go out as JSON (the command then prints none of
  // its own on standard output).
  bool Json() const { return json_; }

  // The communication's outcome, when one began.
  void Ran(const CommunicationResult& result);
  // Why the command stopped before any communication: a status of its own
  // (an archive that cannot be read, 17) with its cause.
  void Refused(const link::StepResult& result) { refused_ = result; }
  // The archive the command worked on, where the outcome names none (the
  // one a verify compares with).
  void Archive(const std::string& path) { archive_ = path; }
  // The comparison of a restore's read-back.
  void Verified(const std::vector<store::RecordDifference>& compared) { verified_ = compared; }

  // Prints the object under --json; returns the exit status, which only a
  // failed write of standard output changes.
  int Finish(int exitStatus) const;

 private:
  std::string command_;
  bool json_;
  std::optional<session::SessionOutcome> outcome_;
  std::optional<link::StepResult> refused_;
  std::string archive_;
  std::optional<std::vector<store::RecordDifference>> verified_;
};

}  // namespace orgalink::cli
