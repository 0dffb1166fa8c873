// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orgalink::bench {

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--quick") {
      options.quick = true;
    } else if (arg == "--no-pty") {
      options.pty = false;
    } else if (arg == "--no-virtual") {
      options.virtual_lines = false;
    } else if (arg == "--baud" && has_value) {
      options.bauds.push_back(std::atoi(argv[++i]));
    } else if (arg == "--aborts" && has_value) {
      options.aborts = std::atoi(argv[++i]);
    } else if (arg == "--safe-restore") {
      options.safe_restore = true;
    } else if (arg == "--echo" && has_value) {
      options.echo = std::string(argv[++i]) != "0";
    } else {
      std::fprintf(stderr, "transfer_bench: unknown option %s\n", arg.c_str());
      return false;
    }
  }
  if (options.bauds.empty()) {
    options.bauds = options.quick ? std::vector<int>{115200} : std::vector<int>{19200, 115200};
  }
  return true;
}

}  // namespace orgalink::bench
