// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "operations/dump_file.h"
#include "support/line_fixture.h"

namespace orgalink::operations::testing {

// A line fixture without echo whose dump files live in its own folder.
struct DumpLine : testsupport::LineFixture {
  DumpLine() {
    engine.Link().SetEchoBack(false);
    UseLog();
    run.dumpDirectory = dir.path().string();
  }
  std::string Dump(int kind, DumpDirection direction) const {
    return DumpFilePath(run.dumpDirectory, kind, direction);
  }
};

}  // namespace orgalink::operations::testing
