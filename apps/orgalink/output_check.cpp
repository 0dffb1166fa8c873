// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_check.h"

#include <cstdio>

#include "platform/file_system.h"

namespace orgalink::cli {

int OutputFailed(int error_number) {
  std::fprintf(stderr, "orgalink: cannot write standard output: %s\n",
               platform::ErrorText(error_number).c_str());
  return 1;
}

int CheckedStatus(platform::CheckedStandardOutput& out, int status) {
  const int error = out.Finish();
  if (error == 0) return status;
  OutputFailed(error);
  return status != 0 ? status : 1;
}

}  // namespace orgalink::cli
