// SPDX-License-Identifier: GPL-3.0-or-later
// Where an output path leads: through chains of relative and absolute
// links, to a file that may not exist yet; a folder, a loop of links and a
// special file are told apart.

#include "platform/output_file.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace orgalink::platform {
namespace {

TEST(OutputFile, ResolveFollowsLinksToTheFileTheyLeadTo) {
  testsupport::TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.File("sub"));
  std::ofstream(dir.File("sub/real")) << "x";
  fs::create_symlink("sub/real", dir.File("relative"));
  fs::create_symlink(dir.File("relative"), dir.File("absolute"));
  fs::create_symlink("../sub/real", dir.File("sub/up"));
  fs::create_symlink("missing/../new", dir.File("sub/dangling"));
  fs::create_symlink("loop", dir.File("loop"));
  const struct {
    std::string path;
    std::string target;  // empty when refused
    bool in_place;
    int error;
  } cases[] = {
      {dir.File("sub/real"), dir.File("sub/real"), false, 0},
      {dir.File("new"), dir.File("new"), false, 0},
      {dir.File("absolute"), dir.File("sub/real"), false, 0},
      {dir.File("sub/up"), dir.File("sub/../sub/real"), false, 0},
      {dir.File("sub/dangling"), dir.File("sub/missing/../new"), false, 0},
      {"/dev/null", "/dev/null", true, 0},
      {dir.File("sub"), "", false, EISDIR},
      {dir.File("loop"), "", false, ELOOP},
      {dir.File("sub/real/below"), "", false, ENOTDIR},
  };
  for (const auto& c : cases) {
    OutputTarget target;
    int error = 0;
    EXPECT_EQ(ResolveOutput(c.path, target, &error), c.error == 0) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
    if (c.error != 0) continue;
    EXPECT_EQ(fs::path(target.path).lexically_normal(), fs::path(c.target).lexically_normal())
        << c.path;
    EXPECT_EQ(target.in_place, c.in_place) << c.path;
  }
}

}  // namespace
}  // namespace orgalink::platform
