#include "inspect_json.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <vector>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/archive_report.h"

namespace orgalink::cli {

namespace {

// Keys keep the order in which docs/json-output.md lists them.
using json = nlohmann::ordered_json;

json Describe(const std::string& path, std::size_t size, const store::ArchiveImage& image) {
  json sections = json::array();
  for (const store::ArchiveSection& section : image.sections) {
    sections.push_back({{"application", store::ApplicationName(section.application)},
                        {"code", section.application},
                        {"records", section.count},
                        {"bytes", section.length}});
  }
  return {{"archive", path},
          {"size", size},
          {"magic", std::string(image.magic.begin(), image.magic.end())},
          {"inverted", image.inverted},
          {"deviceCode", {image.device[0], image.device[1]}},
          {"sections", sections}};
}

}  // namespace

int InspectArchiveJson(const std::string& path, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> file;
  std::string problem;
  if (!platform::ReadWholeFile(path, file, &problem)) {
    err << path << ": cannot read the file: " << problem << '\n';
    return 1;
  }
  // The text report judges the archive; only its verdict is kept.
  std::ostringstream text, problems;
  const store::CodeTable none{};
  const int status = store::ReportArchive(file, none, false, text, problems);
  if (!problems.str().empty()) err << path << ": " << problems.str();
  store::ArchiveImage image;
  if (store::ParseArchive(file, nullptr, store::ArchiveSlots, image, nullptr) == store::StoreOk) {
    out << Describe(path, file.size(), image).dump(2) << '\n';
  }
  return status;
}

}  // namespace orgalink::cli
