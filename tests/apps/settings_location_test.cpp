// SPDX-License-Identifier: GPL-3.0-or-later
// Without --settings the program finds its settings file in the user's
// configuration folder (the build tree holds no Orgalink.ini beside it).

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The settings are configuration, a log is state: a log named without a
// folder goes to the state folder, made for it.
TEST(SettingsLocation, TheSettingsLiveInTheConfigFolderAndTheLogInTheStateFolder) {
  testsupport::TempDir config;
  testsupport::TempDir state;
  ScopedVariable xdg("XDG_CONFIG_HOME", config.path().string());
  ScopedVariable xdgState("XDG_STATE_HOME", state.path().string());
  std::filesystem::create_directory(config.File("orgalink"));
  std::ofstream(config.File("orgalink/Orgalink.ini"))
      << "[Path]\nLogFileName=comm.log\n[Settings]\nTOCommand=45\n";
  const auto result = testsupport::RunProgram(ORGALINK_CLI, {"run-mode", "12", "--port", "loop"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const std::string log = testsupport::ReadFile(state.File("orgalink/comm.log"));
  EXPECT_NE(log.find("TOCommand=45000\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace orgalink
