#include "archive_summary.h"

#include <cstdio>
#include <vector>

#include "platform/file_system.h"
#include "store/archive.h"

namespace orgalink::cli {

void PrintArchiveSummary(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::string problem;
  store::ArchiveImage image;
  if (!platform::ReadWholeFile(path, bytes, &problem) ||
      store::ParseArchive(bytes, nullptr, 255, image, &problem) != store::StoreOk) {
    std::fprintf(stderr, "orgalink: cannot read back %s: %s\n", path.c_str(), problem.c_str());
    return;
  }
  std::printf("%s\n", path.c_str());
  for (const store::ArchiveSection& section : image.sections) {
    std::printf("  %s: %u record%s\n", store::ApplicationName(section.application).c_str(),
                static_cast<unsigned>(section.count), section.count == 1 ? "" : "s");
  }
  std::fflush(stdout);
}

}  // namespace orgalink::cli
