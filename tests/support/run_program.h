// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orgalink::testsupport {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args`, capturing both output streams, with nothing
// on its standard input and no terminal on any stream. With
// `interrupt_after_ms` >= 0 the program gets SIGINT after that time.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         int interrupt_after_ms = -1);

// Runs `command` through /bin/sh exactly as a user would paste it, with the
// folder of `program` first on PATH, so that a command the program printed
// ("orgalink restore ...") runs that same program.
ProgramResult RunAsPrinted(const std::string& program, const std::string& command);

// A program started in the background, for a test that talks to it (over a
// pseudo-terminal, say) while it runs.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& args);
  // Kills and reaps the program if nobody waited for it.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Signal(int signal);
  int Pid() const { return pid_; }
  // What the program has written to standard output and error so far.
  std::string OutputSoFar() const;
  std::string ErrorSoFar() const;
  // Waits until the program has written `text` to standard error; false
  // when it ended or `limit` passed first.
  bool WaitForError(const std::string& text, std::chrono::milliseconds limit);
  // Waits for the end; the exit status is 128 + the signal for a killed program.
  ProgramResult Wait();
  // The same, but nothing when the program has not ended within `limit`
  // (it is then killed when this object goes).
  std::optional<ProgramResult> WaitAtMost(std::chrono::milliseconds limit);

 private:
  bool Ended() const;

  TempDir dir_;
  std::string out_path_, err_path_;
  int pid_ = -1;
};

}  // namespace orgalink::testsupport
