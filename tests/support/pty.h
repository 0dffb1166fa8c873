// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orgalink::testsupport {

// A pseudo-terminal pair: the test plays the organizer on the master side,
// the code under test opens `slave_path()` like a serial device.
class Pty {
 public:
  Pty();
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  const std::string& slave_path() const { return slave_path_; }
  int master_fd() const { return master_; }

  // Reads until `count` bytes came or `timeout_ms` passed without any.
  std::vector<std::uint8_t> Read(std::size_t count, int timeout_ms = 5000);
  void Write(const std::vector<std::uint8_t>& bytes);

 private:
  int master_ = -1;
  std::string slave_path_;
};

}  // namespace orgalink::testsupport
