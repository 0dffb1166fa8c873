// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/device_access.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace orgalink::platform {

namespace {

std::string GroupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE) {
    buffer.resize(buffer.size() * 2);
  }
  return found ? found->gr_name : std::to_string(gid);
}

bool InSessionGroups(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// The groups the group database gives this user now; a login started before
// a `usermod -aG` does not have the new one yet.
bool InDatabaseGroups(gid_t gid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* user = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &user) != 0 || !user) {
    return false;
  }
  int count = 64;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) return false;
  }
  return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

}  // namespace

DeviceAccess JudgeDeviceAccess(const std::string& path) {
  DeviceAccess access;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return access;
  access.exists = true;
  access.readWrite = ::access(path.c_str(), R_OK | W_OK) == 0;
  access.group = GroupName(status.st_gid);
  access.groupReadWrite = (status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  access.membershipPending = !InSessionGroups(status.st_gid) && InDatabaseGroups(status.st_gid);
  return access;
}

}  // namespace orgalink::platform
