// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_holder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace orgalink::platform {
namespace {

class PortHolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream{device_};
    if (const char* old = getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
    setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  }
  void TearDown() override {
    if (oldRuntime_) {
      setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

  testsupport::TempDir dir_;
  const std::string device_ = dir_.File("ttyUSB0");
  std::optional<std::string> oldRuntime_;
};

TEST_F(PortHolderTest, ALiveNoteNamesItsHolderUntilItGoes) {
  std::string error;
  auto note = PortHolderNote::Write(device_, "orgalink watch", error);
  ASSERT_TRUE(note) << error;
  // A link to the device finds the same note.
  const std::string link = dir_.File("by-id");
  std::filesystem::create_symlink(device_, link);
  EXPECT_EQ(PortHolder(link), "orgalink watch, process " + std::to_string(getpid()));
  note.reset();
  EXPECT_EQ(PortHolder(device_), "");
}

TEST_F(PortHolderTest, ANoteLeftByAProcessThatDiedNamesNobody) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    // Ends without removing its note, as a killed process would.
    (void)PortHolderNote::Write(device_, "orgalink watch", error).release();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(std::filesystem::exists(dir_.File("orgalink")));
  EXPECT_FALSE(std::filesystem::is_empty(dir_.File("orgalink")));
  EXPECT_EQ(PortHolder(device_), "");
}

}  // namespace
}  // namespace orgalink::platform
