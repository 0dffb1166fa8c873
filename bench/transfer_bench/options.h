// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace orgalink::bench {

struct Options {
  bool quick = false;  // a tenth of the reference organizer, 115200 baud only
  std::vector<int> bauds;
  bool pty = true;
  bool virtual_lines = true;
  int aborts = 3;  // aborted runs of each operation on each line
  bool echo = true;
  // After the backup: a restore, a restore with its safety backup, and the
  // read-back that --verify adds, in place of the plain restore.
  bool safe_restore = false;
};

// False, after a message on stderr, for an option it does not know.
bool ParseOptions(int argc, char** argv, Options& options);

}  // namespace orgalink::bench
