// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/file_bytes.h"

#include <fstream>

#include "support/temp_dir.h"

namespace orgalink::testsupport {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  const std::string text = ReadFile(path);
  return {text.begin(), text.end()};
}

}  // namespace orgalink::testsupport
