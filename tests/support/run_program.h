#pragma once

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
  // What the program has written to standard output so far.
  std::string OutputSoFar() const;
  // Waits for the end; the exit status is 128 + the signal for a killed program.
  ProgramResult Wait();

 private:
  TempDir dir_;
  std::string out_path_, err_path_;
  int pid_ = -1;
};

}  // namespace orgalink::testsupport
