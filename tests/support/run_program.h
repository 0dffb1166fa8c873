#pragma once

#include <string>
#include <vector>

namespace orgalink::testsupport {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args`, capturing both output streams.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace orgalink::testsupport
