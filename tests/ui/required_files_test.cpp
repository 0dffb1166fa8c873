// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up check of the files the program needs.

#include "ui/required_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace orgalink::ui {
namespace {

TEST(RequiredFiles, FirstMissingInCheckOrderAcrossBothFolders) {
  struct Case {
    std::vector<std::string> inProgram;
    std::vector<std::string> inData;
    std::optional<std::string> missing;
  };
  const Case cases[] = {
      {{"code.dat", "orgalink", "sort.dat"}, {}, std::nullopt},
      {{"orgalink"}, {"code.dat", "sort.dat"}, std::nullopt},
      {{"code.dat", "orgalink"}, {}, "sort.dat"},
      {{"orgalink"}, {"sort.dat"}, "code.dat"},
      {{"code.dat", "sort.dat"}, {}, "orgalink"},
      {{}, {}, "code.dat"},
  };
  for (const Case& c : cases) {
    testsupport::TempDir dir;
    const std::string program = dir.File("bin/");
    const std::string data = dir.File("share/");
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(data);
    for (const auto& name : c.inProgram) std::ofstream(program + name) << "x";
    for (const auto& name : c.inData) std::ofstream(data + name) << "x";
    EXPECT_EQ(FirstMissingRequiredFile({program, data}), c.missing)
        << "missing " << c.missing.value_or("nothing");
  }
}

}  // namespace
}  // namespace orgalink::ui
