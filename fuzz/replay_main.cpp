// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over the inputs kept in its corpus folders, once each,
// without the fuzzing engine: the regular compiler and sanitizer builds thus
// keep every target building and every kept input passing, and a crash the
// fuzzer once found stays found.
//
//   archive_fuzzer_replay fuzz/corpus [more folders or files...]

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    if (!std::filesystem::is_directory(argv[i], error)) {
      ok = Replay(argv[i]) && ok;
      ++replayed;
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
      if (!entry.is_regular_file()) continue;
      ok = Replay(entry.path()) && ok;
      ++replayed;
    }
    if (error) {
      std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
      ok = false;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return ok && replayed > 0 ? 0 : 1;
}
