// SPDX-License-Identifier: GPL-3.0-or-later
// What a script relies on: the --json objects of the commands that
// communicate and of diff, laid out as docs/json-output.md lists them;
// the ".bkf" a name may leave out; and the parser's messages.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;
using Json = nlohmann::json;

const std::string kSample = std::string(ORGALINK_SOURCE_DIR) + "/data/sample_organizer.bkf";

// The top-level keys that the table under the heading starting with
// `heading` in docs/json-output.md names: the `key`s of each row's first
// cell, without those of nested keys ("verify.matches").
std::set<std::string> DocumentedKeys(const std::string& heading) {
  std::ifstream doc(std::string(ORGALINK_SOURCE_DIR) + "/docs/json-output.md");
  std::set<std::string> keys;
  bool inside = false;
  for (std::string line; std::getline(doc, line);) {
    if (line.rfind("## ", 0) == 0) inside = line.rfind("## " + heading, 0) == 0;
    if (!inside || line.rfind("| `", 0) != 0) continue;
    const std::string cell = line.substr(2, line.find(" |", 2) - 2);
    std::istringstream names(cell);
    for (std::string name; std::getline(names, name, '`');) {
      if (std::getline(names, name, '`') && name.find_first_of(".[") == std::string::npos) {
        keys.insert(name);
      }
    }
  }
  return keys;
}

std::set<std::string> KeysOf(const Json& object) {
  std::set<std::string> keys;
  for (const auto& item : object.items()) keys.insert(item.key());
  return keys;
}

// The simulated organizer keeps its contents in the test's own folder.
class ScriptingTest : public ::testing::Test {
 protected:
  ScriptingTest() {
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    std::ofstream(ini) << "[Path]\nBackupDir=" << dir.File("DATA") << "\n";
  }
  ~ScriptingTest() override {
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_STATE_HOME");
  }
  // A command against the simulated organizer.
  std::vector<std::string> Sim(std::vector<std::string> args) const {
    args.insert(args.end(), {"--port", "sim", "--baud", "115200", "--settings", ini});
    return args;
  }
  // An archive that differs from the organizer's contents in one Telephone
  // number, made of `archive` through export and import.
  std::string Edited(const std::string& archive) {
    std::string json = RunProgram(ORGALINK_CLI, {"export", archive}).out;
    const std::size_t number = json.find("+1 555 1000");
    if (number == std::string::npos) return "";
    json.replace(number, 11, "+1 555 9999");
    std::ofstream(dir.File("edited.json")) << json;
    RunProgram(ORGALINK_CLI, {"import", dir.File("edited.json"), "-o", dir.File("edited.bkf")});
    return dir.File("edited.bkf");
  }

  testsupport::TempDir dir;
  std::string ini = dir.File("Orgalink.ini");
  std::string archive = dir.File("A.bkf");
};

// Each command's object, on success and on failure, with the exit status
// the command gives without --json, and nothing else on standard output.
TEST_F(ScriptingTest, EveryCommandPrintsItsOutcomeAsOneDocumentedObject) {
  const std::set<std::string> outcomeKeys = DocumentedKeys("`orgalink backup --json");
  const std::set<std::string> diffKeys = DocumentedKeys("`orgalink diff --json");
  ASSERT_TRUE(outcomeKeys.count("safetyArchive")) << "docs/json-output.md lists the keys";
  ASSERT_TRUE(diffKeys.count("applications")) << "docs/json-output.md lists the keys";
  ASSERT_EQ(RunProgram(ORGALINK_CLI, Sim({"backup", "-q", archive})).exit_code, 0);
  const std::string edited = Edited(archive);
  ASSERT_FALSE(edited.empty());
  const struct {
    const char* name;
    std::vector<std::string> args;
    int exit;
    // Checks what matters of the object beyond its keys.
    std::function<void(const Json&)> check;
  } cases[] = {
      {"backup", Sim({"backup", "--json", dir.File("B")}), 0,
       [&](const Json& o) {
         EXPECT_EQ(o["archive"], dir.File("B.bkf"));
         EXPECT_TRUE(std::filesystem::exists(dir.File("B.bkf")));
         EXPECT_EQ(o["counts"]["Telephone"], 24);
         EXPECT_EQ(o["status"], 16);
         EXPECT_TRUE(o["cause"].is_null());
       }},
      {"backup with another device code",
       Sim({"backup", "--json", "--device-code", "1", dir.File("C")}), 11,
       [](const Json& o) {
         EXPECT_EQ(o["status"], 11);
         EXPECT_EQ(o["statusText"], "I/O Device error.");
         EXPECT_NE(o["cause"].get<std::string>().find("device code"), std::string::npos);
       }},
      {"verify", Sim({"verify", "--json", archive}), 0,
       [&](const Json& o) {
         EXPECT_EQ(o["archive"], archive);
         EXPECT_EQ(o["verify"]["matches"], true);
       }},
      {"verify of an archive the organizer does not hold", Sim({"verify", "--json", edited}), 18,
       [](const Json& o) {
         EXPECT_EQ(o["verify"]["matches"], false);
         const Json& telephone = o["verify"]["applications"][0];
         EXPECT_EQ(telephone["application"], "Telephone");
         EXPECT_EQ(telephone["onlyInArchive"], 1);
         EXPECT_EQ(telephone["onlyOnOrganizer"], 1);
       }},
      {"restore", Sim({"restore", "--json", "--yes", archive}), 0,
       [&](const Json& o) {
         const std::string safety = o["safetyArchive"];
         EXPECT_EQ(safety.rfind(dir.File("DATA/before-restore-"), 0), 0u) << safety;
         EXPECT_TRUE(std::filesystem::exists(safety));
       }},
      {"restore of a missing archive", Sim({"restore", "--json", "--yes", dir.File("none.bkf")}),
       17,
       [](const Json& o) {
         EXPECT_EQ(o["status"], 17);
         EXPECT_NE(o["cause"].get<std::string>().find("No such file"), std::string::npos);
         EXPECT_TRUE(o["safetyArchive"].is_null());
       }},
      {"diff",
       {"diff", "--json", archive, archive},
       0,
       [](const Json& o) { EXPECT_EQ(o["differs"], false); }},
      {"diff of a changed record",
       {"diff", "--json", archive, edited},
       1,
       [](const Json& o) {
         EXPECT_EQ(o["differs"], true);
         const Json& telephone = o["applications"][0];
         EXPECT_EQ(telephone["application"], "Telephone");
         EXPECT_EQ(telephone["added"][0]["text"][1], "+1 555 9999");
         EXPECT_EQ(telephone["removed"][0]["text"][1], "+1 555 1000");
         EXPECT_EQ(o["applications"][1]["differs"], false);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = RunProgram(ORGALINK_CLI, c.args);
    EXPECT_EQ(result.exit_code, c.exit) << result.err;
    const Json object = Json::parse(result.out, nullptr, false);
    ASSERT_TRUE(object.is_object()) << result.out;
    const bool isDiff = c.args[0] == "diff";
    EXPECT_EQ(KeysOf(object), isDiff ? diffKeys : outcomeKeys);
    if (!isDiff) {
      EXPECT_EQ(object["command"], c.args[0]);
      EXPECT_EQ(object["exitStatus"], c.exit);
      EXPECT_EQ(object["ok"], c.exit == 0);
    }
    c.check(object);
  }
}

// A quiet run that goes well says nothing on standard error, its log
// notwithstanding; one that fails still tells why there.
TEST_F(ScriptingTest, QuietIsSilentOnSuccessAndStillTellsAFailure) {
  const auto ok = RunProgram(ORGALINK_CLI, Sim({"backup", "-q", "--log", dir.File("L"), archive}));
  EXPECT_EQ(ok.exit_code, 0);
  EXPECT_EQ(ok.out, "");
  EXPECT_EQ(ok.err, "");
  const auto failed = RunProgram(ORGALINK_CLI, Sim({"backup", "-q", "--log", dir.File("L"),
                                                    "--device-code", "1", dir.File("other")}));
  EXPECT_EQ(failed.exit_code, 11);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find("I/O Device error.\nCause: wrong device code"), std::string::npos)
      << failed.err;
}

// A name given without ".bkf" finds the archive that backup wrote under it,
// in every command that reads one; import adds it as backup does.
TEST_F(ScriptingTest, ANameWithoutItsExtensionFindsTheArchive) {
  std::filesystem::copy_file(kSample, dir.File("q1.bkf"));
  const std::string q1 = dir.File("q1");
  const struct {
    std::vector<std::string> args;
    int exit;
  } cases[] = {
      {{"inspect", q1}, 0},
      {{"inspect", "--json", q1}, 0},
      {{"export", q1, "-o", dir.File("q1.json")}, 0},
      {{"diff", q1, kSample}, 0},
      {{"diff", kSample, q1}, 0},
      {{"import", dir.File("q1.json"), "-o", dir.File("q2")}, 0},
      // Both read the archive before anything else: without a terminal
      // and --yes, or without its settings file, they refuse only then.
      {{"restore", q1}, 2},
      {{"verify", q1, "--settings", dir.File("none.ini")}, 2},
  };
  for (const auto& c : cases) {
    const auto result = RunProgram(ORGALINK_CLI, c.args);
    EXPECT_EQ(result.exit_code, c.exit) << c.args[0] << ": " << result.err;
  }
  EXPECT_EQ(testsupport::ReadFile(dir.File("q2.bkf")), testsupport::ReadFile(kSample));
  const auto missing = RunProgram(ORGALINK_CLI, {"inspect", dir.File("q3")});
  EXPECT_NE(missing.err.find(dir.File("q3") + ": cannot read"), std::string::npos) << missing.err;
}

// The parser's complaints speak as the program, with the command's usage.
TEST(CommandLineMessages, SayWhatToTypeInstead) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> said;
  } cases[] = {
      {{"bakup"}, {"orgalink: unknown command 'bakup' (did you mean backup?)"}},
      {{"dif", "a", "b"}, {"(did you mean diff?)"}},
      {{"frobnicate"}, {"orgalink: unknown command 'frobnicate'; the commands are backup"}},
      {{"--port", "sim", "backup"},
       {"orgalink: options go after the command: put --port after backup\n",
        "Usage: orgalink backup [OPTIONS] [ARCHIVE]\n"}},
      {{"backup", "--bogus"},
       {"orgalink: The following argument was not expected: --bogus\n",
        "Usage: orgalink backup [OPTIONS] [ARCHIVE]\n(more: orgalink backup --help)\n"}},
      {{"restore"}, {"orgalink: ARCHIVE is required\nUsage: orgalink restore [OPTIONS] ARCHIVE\n"}},
      {{"backup", "--to-command", "0"}, {"\norgalink: --to-command: 0 is not 1 to 3600 seconds\n"}},
  };
  for (const auto& c : cases) {
    const auto result = RunProgram(ORGALINK_CLI, c.args);
    EXPECT_EQ(result.exit_code, 2) << c.args[0];
    EXPECT_EQ(result.out, "");
    for (const std::string& text : c.said) {
      EXPECT_NE(("\n" + result.err).find(text), std::string::npos) << result.err;
    }
  }
  EXPECT_EQ(RunProgram(ORGALINK_CLI, {"frobnicate"}).err.find("did you mean"), std::string::npos);
}

}  // namespace
}  // namespace orgalink
