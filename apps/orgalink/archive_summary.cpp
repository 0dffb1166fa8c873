#include "archive_summary.h"

#include <cstdio>

#include "store/checked_archive.h"

namespace orgalink::cli {

void PrintArchiveSummary(const std::string& path) {
  store::CheckedArchive archive;
  if (store::ReadArchiveFile(path, archive) != store::StoreOk) {
    std::fprintf(stderr, "orgalink: cannot read back: %s\n", archive.message.c_str());
    return;
  }
  const store::ArchiveImage& image = archive.image;
  std::printf("%s\n", path.c_str());
  for (const store::ArchiveSection& section : image.sections) {
    std::printf("  %s: %u record%s\n", store::ApplicationName(section.application).c_str(),
                static_cast<unsigned>(section.count), section.count == 1 ? "" : "s");
  }
  std::fflush(stdout);
}

}  // namespace orgalink::cli
