// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders the program creates hold a person's data: only their
// owner may read them, and a file replaced keeps the mode its owner chose.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/append_file.h"
#include "platform/file_contents.h"
#include "platform/file_system.h"
#include "platform/private_folders.h"
#include "support/temp_dir.h"

namespace orgalink::platform {
namespace {

unsigned Mode(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

bool WriteAtomically(const std::string& path) {
  AtomicFileWriter writer(path);
  const std::uint8_t byte = 'x';
  return writer.Open() && writer.Write(&byte, 1) && writer.Commit();
}

bool WriteNew(const std::string& path) {
  AtomicFileWriter writer(path);
  const std::uint8_t byte = 'x';
  return writer.Open() && writer.Write(&byte, 1) && writer.CommitNew(path);
}

TEST(PrivateFiles, EveryWayOfWritingAFileMakesItTheOwnersAloneAndAReplacedOneKeepsItsMode) {
  struct Writer {
    const char* what;
    std::function<bool(const std::string&)> write;
    bool replaces;
  };
  const Writer writers[] = {
      {"an archive", WriteAtomically, true},
      {"a numbered archive", WriteNew, false},
      {"settings or an export",
       [](const std::string& p) { return ReplaceFileContents(p, "x") == 0; }, true},
      {"a log",
       [](const std::string& p) {
         AppendFile log;
         log.SetPath(p);
         return log.Append("x", 1);
       },
       false},
  };
  const mode_t before = ::umask(0);  // nothing may rely on the umask to hide the data
  for (const Writer& writer : writers) {
    testsupport::TempDir dir;
    const std::string path = dir.File("file");
    ASSERT_TRUE(writer.write(path)) << writer.what;
    EXPECT_EQ(Mode(path), 0600u) << writer.what;
    if (!writer.replaces) continue;
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writer.write(path)) << writer.what;
    EXPECT_EQ(Mode(path), 0640u) << writer.what << ", replaced";
  }
  ::umask(before);
}

TEST(PrivateFiles, FoldersMadeAreTheOwnersAloneAndThoseThereStayAsTheyAre) {
  testsupport::TempDir dir;
  const std::string there = dir.File("there");
  std::filesystem::create_directory(there);
  ::chmod(there.c_str(), 0755);
  const mode_t before = ::umask(0);
  EXPECT_EQ(MakePrivateFolders(there + "/a/b/"), 0);
  EXPECT_EQ(MakePrivateFolders(there + "/a/b"), 0);  // there already
  ::umask(before);
  EXPECT_EQ(Mode(there), 0755u);
  EXPECT_EQ(Mode(there + "/a"), 0700u);
  EXPECT_EQ(Mode(there + "/a/b"), 0700u);

  std::ofstream(dir.File("file")) << "x";
  EXPECT_EQ(MakePrivateFolders(dir.File("file")), EEXIST);
  EXPECT_EQ(MakePrivateFolders(dir.File("file") + "/below"), ENOTDIR);
}

}  // namespace
}  // namespace orgalink::platform
