#pragma once

#include <string>
#include <vector>

namespace orgalink::testsupport {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args`, capturing both output streams. With
// `interrupt_after_ms` >= 0 the program gets SIGINT after that time.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         int interrupt_after_ms = -1);

}  // namespace orgalink::testsupport
